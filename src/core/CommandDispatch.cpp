#include "core/CommandDispatch.h"

#include <string_view>
#include <utility>

#include "core/MainMenu.h"
#include "core/MenuItemIds.h"

namespace pelorin {

namespace {

constexpr int kProgramsWindowCode = 101;
constexpr int kLockCode = 115;
constexpr int kProgramsSubmenuCode = 201;
constexpr int kProfilesSubmenuCode = 202;
constexpr int kPowerSubmenuCode = 203;

// The command codes that stand for a main-menu item (112 is not used).
constexpr std::pair<int, std::string_view> kItemCommands[] = {
    {102, menu_item::kNote},    {103, menu_item::kTel},    {104, menu_item::kDB},
    {105, menu_item::kShed},    {106, menu_item::kClock},  {107, menu_item::kTime},
    {108, menu_item::kCDAudio}, {109, menu_item::kCalc},   {110, menu_item::kACD},
    {111, menu_item::kAPC},     {113, menu_item::kStatus}, {114, menu_item::kConfig},
    {115, menu_item::kBlock},   {116, menu_item::kClose},
};

}  // namespace

CommandDispatch::CommandDispatch(CoreContext& ctx, MainMenu& menu) : ctx_(ctx), menu_(menu) {}

void CommandDispatch::Command(int code) {
  if (!ctx_.commands.Answering()) return;
  const SharedValues& v = ctx_.values;
  // While locked only the lock item and the Profiles submenu answer.
  if (v.Locked && code != kLockCode && code != kProfilesSubmenuCode) return;
  switch (code) {
    case kProgramsWindowCode:
      ProgramsItemClick(0);
      return;
    case kProgramsSubmenuCode:
    case kProfilesSubmenuCode:
    case kPowerSubmenuCode:
      if (v.PreferencesOpen) return;
      menu_.ShowSubmenu(code == kProgramsSubmenuCode   ? MainMenu::Submenu::Programs
                        : code == kProfilesSubmenuCode ? MainMenu::Submenu::Profiles
                                                       : MainMenu::Submenu::Power);
      return;
    default:
      break;
  }
  for (const auto& [itemCode, itemId] : kItemCommands) {
    if (itemCode == code) {
      MenuClick(std::string(itemId));
      return;
    }
  }
}

void CommandDispatch::MenuClick(const std::string& itemId) {
  ctx_.commands.Click(itemId);
}

void CommandDispatch::ProgramsItemClick(int position) {
  if (position == 0) {
    ctx_.commands.Click(menu_item::kProgramsWindow);
  } else {
    ctx_.commands.EntryClick(CommandRegistry::Entries::Programs, position);
  }
}

void CommandDispatch::ProfilesItemClick(int position) {
  if (position == 0) {
    ctx_.commands.Click(menu_item::kProfileEditor);
  } else {
    ctx_.commands.EntryClick(CommandRegistry::Entries::Profiles, position);
  }
}

void CommandDispatch::TrayRightClick(int x, int y) {
  if (ctx_.lifetime.Ended()) return;
  menu_.ShowMainMenu(x, y);
}

void CommandDispatch::TrayLeftClick() {
  if (ctx_.lifetime.Ended()) return;
  ctx_.steps.trayLeftClick.Run([this] { return !ctx_.lifetime.Ended(); });
}

}  // namespace pelorin
