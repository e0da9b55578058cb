#include "core/CommandRegistry.h"

#include <stdexcept>
#include <utility>

#include "core/Hook.h"
#include "core/MenuItemIds.h"
#include "core/SharedValues.h"
#include "core/SuiteLifetime.h"

namespace pelorin {

namespace {

// Each item's subsystem, and whether a click first brings the fly panel's window to
// the foreground.
struct ItemOwner {
  std::string_view id;
  SubsystemId owner;
  bool flyPanelFirst = false;
};

constexpr ItemOwner kItemOwners[] = {
    {menu_item::kRun, SubsystemId::Launcher},
    {menu_item::kProgramsWindow, SubsystemId::Launcher},
    {menu_item::kNote, SubsystemId::Books, true},
    {menu_item::kTel, SubsystemId::Books, true},
    {menu_item::kDB, SubsystemId::Books, true},
    {menu_item::kShed, SubsystemId::Organizer, true},
    {menu_item::kClock, SubsystemId::Alarms, true},
    {menu_item::kTime, SubsystemId::Alarms, true},
    {menu_item::kCDAudio, SubsystemId::Multimedia, true},
    {menu_item::kCalc, SubsystemId::Core},
    {menu_item::kACD, SubsystemId::Agents, true},
    {menu_item::kAPC, SubsystemId::Agents, true},
    {menu_item::kStatus, SubsystemId::Core},
    {menu_item::kPower, SubsystemId::Core},
    {menu_item::kPowerOff, SubsystemId::Core},
    {menu_item::kHibernate, SubsystemId::Core},
    {menu_item::kSleep, SubsystemId::Core},
    {menu_item::kRestart, SubsystemId::Core},
    {menu_item::kProfile, SubsystemId::Core},
    {menu_item::kProfileEditor, SubsystemId::Prefs},
    {menu_item::kConfig, SubsystemId::Prefs, true},
    {menu_item::kBlock, SubsystemId::Core, true},
    {menu_item::kClose, SubsystemId::Core},
};

const ItemOwner* FindItem(std::string_view itemId) {
  for (const ItemOwner& row : kItemOwners) {
    if (row.id == itemId) return &row;
  }
  return nullptr;
}

}  // namespace

CommandRegistry::CommandRegistry(const SuiteLifetime& lifetime, const SharedValues& values,
                                 const SuiteHooks& hooks)
    : lifetime_(lifetime), values_(values), hooks_(hooks) {}

SubsystemId CommandRegistry::OwnerOf(std::string_view itemId) {
  const ItemOwner* item = FindItem(itemId);
  return item != nullptr ? item->owner : SubsystemId::Core;
}

void CommandRegistry::Bind(std::string_view itemId, SubsystemId owner,
                           std::function<void()> click) {
  if (OwnerOf(itemId) != owner || clicks_.contains(itemId)) {
    throw std::logic_error("menu item " + std::string(itemId) + " filled by " +
                           std::string(SubsystemName(owner)));
  }
  clicks_.emplace(std::string(itemId), std::move(click));
}

void CommandRegistry::BindEntries(Entries which, SubsystemId owner,
                                  std::function<void(int)> click) {
  const SubsystemId expected =
      which == Entries::Programs ? SubsystemId::Launcher : SubsystemId::Core;
  std::function<void(int)>& slot = which == Entries::Programs ? programs_ : profiles_;
  if (owner != expected || slot) throw std::logic_error("submenu entries filled twice");
  slot = std::move(click);
}

bool CommandRegistry::Exists(std::string_view itemId) const {
  if (itemId == menu_item::kRun) return Exists(menu_item::kProgramsWindow);
  if (itemId == menu_item::kPower) return Exists(menu_item::kPowerOff);
  if (itemId == menu_item::kProfile) return static_cast<bool>(profiles_);
  // Ids the menu does not know (the entries of the two lists) always exist.
  return FindItem(itemId) == nullptr || clicks_.contains(itemId);
}

bool CommandRegistry::Answering() const {
  return !lifetime_.Ended() && values_.ProfileLoaded;
}

void CommandRegistry::Click(std::string_view itemId) const {
  if (!Answering()) return;
  const auto found = clicks_.find(itemId);
  if (found == clicks_.end()) return;
  const ItemOwner* item = FindItem(itemId);
  if (item != nullptr && item->flyPanelFirst) hooks_.BringFlyPanelForward();
  if (lifetime_.Ended()) return;
  found->second();
}

void CommandRegistry::EntryClick(Entries which, int position) const {
  if (!Answering()) return;
  const std::function<void(int)>& click = which == Entries::Programs ? programs_ : profiles_;
  if (click) click(position);
}

}  // namespace pelorin
