#include "core/CommandDispatch.h"

#include <string_view>
#include <utility>

#include "core/CoreHotkeys.h"
#include "core/DesktopCalculator.h"
#include "core/MainMenu.h"
#include "core/MenuItemIds.h"
#include "core/PowerControl.h"
#include "core/ProfileLoader.h"
#include "core/ProfileTable.h"
#include "core/SuiteLock.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "core/TF_Profile.h"
#include "storage/SettingsFile.h"

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

// "Profiles..." and a separator come before the profiles: the item at position p is
// profile p - 1.
constexpr int kFirstProfilePosition = 2;

}  // namespace

CommandDispatch::CommandDispatch(CoreContext& ctx) : ctx_(ctx) {}

void CommandDispatch::Command(int code) {
  if (!Answering()) return;
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
      ctx_.menu->ShowSubmenu(code == kProgramsSubmenuCode   ? MainMenu::Submenu::Programs
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

bool CommandDispatch::Answering() const {
  // Until a profile has been loaded its passwords are not known: a command that asks
  // one (Exit, Unlock, a guarded window) would pass without it, so none is taken.
  return !ctx_.main->Ended() && ctx_.values.ProfileLoaded;
}

void CommandDispatch::MenuClick(const std::string& itemId) {
  if (!Answering()) return;
  if (itemId == menu_item::kCalc) {
    OpenDesktopCalculator(ctx_.ports.shell, ctx_.ports.dialogs);
  } else if (itemId == menu_item::kStatus) {
    // The i-Panel item shows the strip where it was hidden, or hides it (4000 pixels to
    // the left) and keeps the hidden place in status.hif. The fly panel, once it
    // exists, is brought forward first.
    TF_Main& main = *ctx_.main;
    if (main.Left() < 0) {
      main.FormShow();
    } else {
      main.MoveMainWindow(main.Left() + TF_Main::kParked, main.Top());
      ctx_.loader->SaveWindowPositions();
    }
  } else if (itemId == menu_item::kBlock) {
    ctx_.lock->MainPopup_BlockClick();
  } else if (itemId == menu_item::kPowerOff || itemId == menu_item::kHibernate ||
             itemId == menu_item::kSleep || itemId == menu_item::kRestart) {
    ctx_.power->MenuClick(itemId);
  } else if (itemId == menu_item::kClose) {
    ctx_.main->Exit();
  }
  // The other items open parts that do not exist in this build yet, and their items
  // stay hidden (MainMenu::InThisBuild); each part's issue adds its click here:
  // MainPopup_Note (notebook), MainPopup_Tel (phone book), MainPopup_DB (day book,
  // after the day book password), MainPopup_Shed (organizer), MainPopup_Clock
  // (reminder), MainPopup_Time (Duzuzoze), MainPopup_CDAudio (CD player), MainPopup_ACD
  // and MainPopup_APC (the agents, after their passwords), MainPopup_Config
  // (Preferences, after its password).
}

void CommandDispatch::ProgramsItemClick(int position) {
  // "Programs..." (position 0) shows the Programs window and an entry (position 2 on)
  // runs entry position - 2 as a double click in that window does: both come with the
  // launcher, whose items stay hidden until then.
  (void)position;
}

void CommandDispatch::ProfilesItemClick(int position) {
  if (!Answering()) return;
  // Position 0, "Profiles...", opens the profile editor, unless the suite is locked.
  if (position < kFirstProfilePosition) {
    if (position == 0 && !ctx_.values.Locked) ctx_.profileEditor->FormShow();
    return;
  }
  SharedValues& v = ctx_.values;
  const int number = position - kFirstProfilePosition + 1;
  if (number > v.ProfilesCount) return;
  // A waiting computer-use request is answered first; the old profile stays untouched.
  if (!ctx_.pass->Accepts(TF_Pass::kProfileChange)) return;

  ProfileEntry chosen;
  const bool read = ctx_.files.ReadSystemSettings(
      [&](const SettingsFile& system) { chosen = ReadProfileEntry(system, number); });
  if (!read) return;  // the damaged system settings ended the suite
  if (!chosen.folderValid) {
    ReportDamagedProfile(ctx_.ports.dialogs, chosen, DamagedProfileOutcome::CurrentProfileStays);
    return;
  }

  // Leave the old profile: its window places are saved while its folder is current
  // (the PC agent's wallpaper state joins them with the agent).
  ctx_.loader->SaveWindowPositions();
  ctx_.hotkeys->UnregisterHotkeys();
  v.RestoringMode = false;

  // While an earlier change still waits for its password, the profile to go back to
  // is still the one that was last active.
  if (!v.ProfileSwitchPending) v.Previous = v.Current;
  v.Current = chosen.identity;
  v.StartupSelection = false;
  v.FromSelector = false;
  v.ProfileActive = false;
  v.ProfileSwitchPending = true;
  ctx_.pass->Request(TF_Pass::kProfileChange, "Enter password for selected profile.", chosen.pass,
                     0, !v.BlockCancel);
}

void CommandDispatch::TrayRightClick(int x, int y) {
  if (ctx_.main->Ended()) return;
  ctx_.menu->ShowMainMenu(x, y);
}

void CommandDispatch::TrayLeftClick() {
  // A left click stops a ringing alarm (StopRing) and brings the fly panel forward: the
  // reminder and the fly panel hook in here when they exist.
}

}  // namespace pelorin
