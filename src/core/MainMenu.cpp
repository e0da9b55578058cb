#include "core/MainMenu.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/CoreHotkeys.h"
#include "core/ProfileTable.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

// "Programs..." or "Profiles..." and a separator open the two lists of entries.
constexpr int kFirstEntryPosition = 2;

// The items of the main menu in their order. `menuFlag` is n of main.hf MENU/Menu{n}
// (0: the item has no flag); `hiddenByLock` items vanish while the suite is locked.
struct MainItem {
  const char* id;
  const char* caption;
  int menuFlag;
  bool hiddenByLock;
  MenuPicture picture;
};

constexpr MainItem kMainItems[] = {
    {menu_item::kRun, "Programs", 1, true, MenuPicture::Programs},
    {menu_item::kNote, "Notebook", 2, true, MenuPicture::Notebook},
    {menu_item::kTel, "Phone book", 3, true, MenuPicture::PhoneBook},
    {menu_item::kDB, "Daily book", 4, true, MenuPicture::DayBook},
    {menu_item::kShed, "Organizer", 5, true, MenuPicture::Organizer},
    {menu_item::kClock, "Reminder", 6, true, MenuPicture::Reminder},
    {menu_item::kTime, "Duzuzoze", 7, true, MenuPicture::Duzuzoze},
    {menu_item::kCDAudio, "CD Player", 8, true, MenuPicture::CdPlayer},
    {menu_item::kCalc, "Calculator", 9, true, MenuPicture::Calculator},
    {menu_item::kACD, "CD Agent", 10, true, MenuPicture::CdAgent},
    {menu_item::kAPC, "PC Agent", 11, true, MenuPicture::PcAgent},
    {menu_item::kStatus, "i-Panel", 13, true, MenuPicture::Panel},
    {menu_item::kPower, "Power", 14, true, MenuPicture::Power},
    {menu_item::kProfile, "Profiles", 15, false, MenuPicture::Profiles},
    {menu_item::kConfig, "Preferences", 0, true, MenuPicture::Preferences},
    {menu_item::kBlock, "Lock", 16, false, MenuPicture::Lock},
    {menu_item::kClose, "Exit", 17, true, MenuPicture::Exit},
};

struct PowerItem {
  const char* id;
  const char* caption;
  MenuPicture picture;
};

constexpr PowerItem kPowerItems[] = {
    {menu_item::kPowerOff, "Power off", MenuPicture::PowerOff},
    {menu_item::kHibernate, "Hibernate", MenuPicture::Hibernate},
    {menu_item::kSleep, "Sleep", MenuPicture::Sleep},
    {menu_item::kRestart, "Restart", MenuPicture::Restart},
};

MenuItem Separator() {
  MenuItem item;
  item.separator = true;
  return item;
}

}  // namespace

bool MainMenu::InThisBuild(std::string_view itemId) const {
  return ctx_.commands.Exists(itemId);
}

MainMenu::MainMenu(CoreContext& ctx, CoreHotkeys& hotkeys) : ctx_(ctx) {
  root_.id = menu_item::kMainPopup;
  for (const MainItem& entry : kMainItems) {
    MenuItem item;
    item.id = entry.id;
    item.caption = entry.caption;
    item.picture = entry.picture;
    root_.children.push_back(std::move(item));
  }
  // Plain items call their command; the three submenu holders only open.
  for (MenuItem& item : root_.children) {
    if (item.id == menu_item::kRun || item.id == menu_item::kPower ||
        item.id == menu_item::kProfile)
      continue;
    item.onClick = [this, id = item.id] { ctx_.commands.Click(id); };
  }
  ResetProgramsSubmenu();
  for (const PowerItem& entry : kPowerItems) {
    MenuItem item;
    item.id = entry.id;
    item.caption = entry.caption;
    item.picture = entry.picture;
    item.onClick = [this, itemId = item.id] { ctx_.commands.Click(itemId); };
    Item(menu_item::kPower).children.push_back(std::move(item));
  }
  MenuItem editor;
  editor.id = menu_item::kProfileEditor;
  editor.caption = "Profiles...";
  editor.picture = MenuPicture::Profiles;
  editor.onClick = [this] { ctx_.commands.Click(menu_item::kProfileEditor); };
  Item(menu_item::kProfile).children = {std::move(editor), Separator()};
  ApplyMenuVisibility();

  hotkeys.BindPress(HotkeySource::kMenuKey, SubsystemId::Core, [this](const THotkey&) {
    const ports::ScreenPoint at = ctx_.ports.screen.GetCursorXY();
    ShowMainMenu(at.x, at.y);
  });
  // The view redraws what a closed menu covered: the strip needs no repainting here.
  ctx_.steps.lowTimer.Bind(LowTimerStep::kForgetPopup, SubsystemId::Core, [this] {
    if (PopupShown()) ForgetPopup();
  });
}

MenuItem& MainMenu::Item(const std::string& id) {
  MenuItem* item = root_.Find(id);
  if (item == nullptr) throw std::out_of_range("the main menu has no item " + id);
  return *item;
}

void MainMenu::ApplyMenuVisibility() {
  const SharedValues& v = ctx_.values;
  for (const MainItem& entry : kMainItems) {
    const bool flagOn =
        entry.menuFlag == 0 || v.MenuFlags[static_cast<std::size_t>(entry.menuFlag)];
    Item(entry.id).visible = InThisBuild(entry.id) && flagOn && !(v.Locked && entry.hiddenByLock);
  }
  // "Profiles..." and its separator exist with the profile editor; it does not open
  // while the suite is locked.
  std::vector<MenuItem>& profiles = Item(menu_item::kProfile).children;
  const bool editorBuilt = InThisBuild(menu_item::kProfileEditor);
  profiles[0].visible = editorBuilt;
  profiles[0].enabled = editorBuilt && !v.Locked;
  profiles[1].visible = editorBuilt;
  // Likewise "Programs..." with the Programs window.
  std::vector<MenuItem>& programs = Item(menu_item::kRun).children;
  programs[0].visible = InThisBuild(menu_item::kProgramsWindow);
  programs[1].visible = programs[0].visible;
}

void MainMenu::ApplyLockedMenu() {
  ctx_.values.Locked = true;
  Item(menu_item::kBlock).caption = "Unlock";
  Item(menu_item::kBlock).picture = MenuPicture::Unlock;
  ApplyMenuVisibility();
}

void MainMenu::ApplyUnlockedMenu() {
  ctx_.values.Locked = false;
  Item(menu_item::kBlock).caption = "Lock";
  Item(menu_item::kBlock).picture = MenuPicture::Lock;
  ApplyMenuVisibility();
}

void MainMenu::RebuildProfilesSubmenu(const SettingsFile& systemSettings, int profilesCount) {
  std::vector<MenuItem>& items = Item(menu_item::kProfile).children;
  items.resize(kFirstEntryPosition);
  // Every profile has a section of its own, so a count beyond the number of sections
  // can only come from a damaged file: it is cut there instead of building millions of
  // items.
  const int sections = static_cast<int>(systemSettings.ReadSections().size());
  const int count = std::clamp(profilesCount, 0, sections);
  for (int number = 1; number <= count; ++number) {
    MenuItem item;
    item.caption = systemSettings.ReadString(ProfileSection(number), "Name", "?");
    item.radio = true;
    item.checked = number == ctx_.values.Current.number;
    const int position = number + kFirstEntryPosition - 1;
    item.onClick = [this, position] {
      ctx_.commands.EntryClick(CommandRegistry::Entries::Profiles, position);
    };
    items.push_back(std::move(item));
  }
}

void MainMenu::CheckProfile(int number) {
  std::vector<MenuItem>& items = Item(menu_item::kProfile).children;
  for (std::size_t i = kFirstEntryPosition; i < items.size(); ++i) {
    items[i].checked = static_cast<int>(i) - kFirstEntryPosition + 1 == number;
  }
}

void MainMenu::ResetProgramsSubmenu() {
  MenuItem& run = Item(menu_item::kRun);
  MenuItem window;
  window.id = menu_item::kProgramsWindow;
  window.caption = "Programs...";
  window.picture = MenuPicture::Programs;  // the submenu's own picture
  window.onClick = [this] { ctx_.commands.Click(menu_item::kProgramsWindow); };
  window.visible = InThisBuild(menu_item::kProgramsWindow);
  MenuItem separator = Separator();
  separator.visible = window.visible;
  run.children = {std::move(window), std::move(separator)};
}

void MainMenu::AddProgramItem(const std::string& caption, int picture) {
  MenuItem item;
  item.caption = caption;
  item.programPicture = picture;
  Item(menu_item::kRun).children.push_back(std::move(item));
  BindProgramItems();
}

void MainMenu::RemoveProgramItem(int entry) {
  std::vector<MenuItem>& items = Item(menu_item::kRun).children;
  const int position = entry + kFirstEntryPosition;
  if (entry < 0 || position >= static_cast<int>(items.size())) return;
  items.erase(items.begin() + position);
  BindProgramItems();
}

void MainMenu::BindProgramItems() {
  std::vector<MenuItem>& items = Item(menu_item::kRun).children;
  for (std::size_t i = kFirstEntryPosition; i < items.size(); ++i) {
    const int position = static_cast<int>(i);
    items[i].onClick = [this, position] {
      ctx_.commands.EntryClick(CommandRegistry::Entries::Programs, position);
    };
  }
}

bool MainMenu::MayPopUp() const {
  if (ctx_.lifetime.Ended()) return false;
  return ctx_.values.ProfileActive && !ctx_.values.PreferencesOpen;
}

// A tray pop-up closes properly only when a window of the suite is in front: the
// small fly-out window serves as that window.
void MainMenu::PopUp(const MenuItem& menu, int x, int y) {
  const MenuItem copy = menu;
  ctx_.view.BringMixerFlyToFront();
  ctx_.view.PopupMenu(copy, x, y);
  popupShown_ = true;
}

void MainMenu::ShowMainMenu(int x, int y) {
  if (!MayPopUp()) return;
  PopUp(root_, x, y);
}

void MainMenu::ShowSubmenu(Submenu which) {
  if (!MayPopUp()) return;
  const ports::ScreenPoint at = ctx_.ports.screen.GetCursorXY();
  // The Profiles submenu at the pointer also brings the main window forward.
  if (which == Submenu::Profiles) ctx_.view.BringMainWindowToFront();
  ShowSubmenuAt(which, at.x, at.y);
}

void MainMenu::ShowSubmenuAt(Submenu which, int x, int y) {
  if (!MayPopUp()) return;
  const char* holder = which == Submenu::Programs   ? menu_item::kRun
                       : which == Submenu::Profiles ? menu_item::kProfile
                                                    : menu_item::kPower;
  // A submenu whose part does not exist in this build has nothing to offer.
  if (!InThisBuild(holder)) return;
  PopUp(Item(holder), x, y);
}

}  // namespace pelorin
