#include "core/MainMenu.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/MenuItemIds.h"
#include "core/SuiteOnSim.h"
#include "core/TF_Pass.h"
#include "storage/SettingsFile.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::SuiteOnSim;
using testing::WriteBytes;

std::set<std::string> VisibleItems(const MenuItem& menu) {
  std::set<std::string> visible;
  for (const MenuItem& item : menu.children) {
    if (item.visible) visible.insert(item.id);
  }
  return visible;
}

std::vector<std::string> Captions(const MenuItem& menu) {
  std::vector<std::string> captions;
  for (const MenuItem& item : menu.children)
    captions.push_back(item.separator ? "-" : item.caption);
  return captions;
}

TEST(MainMenuTest, HoldsEveryItemInOrderWithItsSubmenus) {
  SuiteOnSim sim;
  MainMenu& menu = sim.suite.menu();
  std::vector<std::string> ids;
  for (const MenuItem& item : menu.Root().children)
    ids.push_back(item.id);
  EXPECT_EQ(
      ids, (std::vector<std::string>{
               menu_item::kRun, menu_item::kNote, menu_item::kTel, menu_item::kDB, menu_item::kShed,
               menu_item::kClock, menu_item::kTime, menu_item::kCDAudio, menu_item::kCalc,
               menu_item::kACD, menu_item::kAPC, menu_item::kStatus, menu_item::kPower,
               menu_item::kProfile, menu_item::kConfig, menu_item::kBlock, menu_item::kClose}));
  EXPECT_EQ(Captions(menu.Root()),
            (std::vector<std::string>{"Programs", "Notebook", "Phone book", "Daily book",
                                      "Organizer", "Reminder", "Duzuzoze", "CD Player",
                                      "Calculator", "CD Agent", "PC Agent", "i-Panel", "Power",
                                      "Profiles", "Preferences", "Lock", "Exit"}));
  EXPECT_EQ(Captions(menu.Item(menu_item::kRun)), (std::vector<std::string>{"Programs...", "-"}));
  EXPECT_EQ(Captions(menu.Item(menu_item::kPower)),
            (std::vector<std::string>{"Power off", "Hibernate", "Sleep", "Restart"}));
  EXPECT_EQ(Captions(menu.Item(menu_item::kProfile)),
            (std::vector<std::string>{"Profiles...", "-"}));
  EXPECT_THROW(menu.Item("MainPopup_Nothing"), std::out_of_range);
}

// Every item of the main menu and of the Power submenu has a picture of its own, which
// the pop-up copies; "Programs..." has the Programs item's and the lock item's follows
// the lock.
TEST(MainMenuTest, ItemsHaveTheirOwnPicturesAndTheLockItemsFollowsTheLock) {
  SuiteOnSim sim;
  MainMenu& menu = sim.suite.menu();
  std::set<MenuPicture> pictures;
  for (const MenuItem* holder :
       std::vector<const MenuItem*>{&menu.Root(), &menu.Item(menu_item::kPower)}) {
    for (const MenuItem& item : holder->children) {
      SCOPED_TRACE(item.id);
      EXPECT_NE(item.picture, MenuPicture::None);
      EXPECT_TRUE(pictures.insert(item.picture).second) << "picture shared";
    }
  }
  EXPECT_EQ(menu.Item(menu_item::kProgramsWindow).picture, MenuPicture::Programs);
  EXPECT_EQ(menu.Item(menu_item::kProfileEditor).picture, MenuPicture::Profiles);
  menu.ResetProgramsSubmenu();
  menu.AddProgramItem("Editor", 5);
  EXPECT_EQ(menu.Item(menu_item::kRun).children.at(2).programPicture, 5);
  EXPECT_EQ(menu.Item(menu_item::kRun).children.at(2).picture, MenuPicture::None);

  EXPECT_EQ(menu.Item(menu_item::kBlock).picture, MenuPicture::Lock);
  menu.ApplyLockedMenu();
  EXPECT_EQ(menu.Item(menu_item::kBlock).picture, MenuPicture::Unlock);
  sim.suite.values().Locked = false;
  menu.ShowMainMenu(1, 1);
  ASSERT_EQ(sim.view.popups.size(), 1u);
  EXPECT_EQ(sim.view.popups[0].menu.Find(menu_item::kBlock)->picture, MenuPicture::Unlock);
  menu.ApplyUnlockedMenu();
  EXPECT_EQ(menu.Item(menu_item::kBlock).picture, MenuPicture::Lock);
}

// What the menu shows follows the Menu flags and the lock, and only the parts that
// exist in this build ever show (Organizer, Reminder, Duzuzoze, Calculator, i-Panel,
// Power, Profiles, Lock, Exit).
TEST(MainMenuTest, VisibilityFollowsFlagsLockAndTheBuild) {
  struct Case {
    const char* name;
    std::vector<int> flagsOff;
    bool locked;
    std::set<std::string> visible;
  };
  const std::set<std::string> all = {menu_item::kShed,    menu_item::kClock,  menu_item::kTime,
                                     menu_item::kCalc,    menu_item::kStatus, menu_item::kPower,
                                     menu_item::kProfile, menu_item::kBlock,  menu_item::kClose};
  const std::vector<Case> cases = {
      {"all flags on", {}, false, all},
      {"Calculator and Exit off",
       {9, 17},
       false,
       {menu_item::kShed, menu_item::kClock, menu_item::kTime, menu_item::kStatus,
        menu_item::kPower, menu_item::kProfile, menu_item::kBlock}},
      {"Organizer, Reminder and Duzuzoze off",
       {5, 6, 7},
       false,
       {menu_item::kCalc, menu_item::kStatus, menu_item::kPower, menu_item::kProfile,
        menu_item::kBlock, menu_item::kClose}},
      {"flags of missing parts off change nothing", {1, 2, 11}, false, all},
      {"Power and Lock off",
       {14, 16},
       false,
       {menu_item::kShed, menu_item::kClock, menu_item::kTime, menu_item::kCalc, menu_item::kStatus,
        menu_item::kProfile, menu_item::kClose}},
      {"locked", {}, true, {menu_item::kProfile, menu_item::kBlock}},
      {"locked with Profiles off", {15}, true, {menu_item::kBlock}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SuiteOnSim sim;
    for (int n : c.flagsOff)
      sim.suite.values().MenuFlags[static_cast<std::size_t>(n)] = false;
    MainMenu& menu = sim.suite.menu();
    if (c.locked) {
      menu.ApplyLockedMenu();
    } else {
      menu.ApplyUnlockedMenu();
    }
    EXPECT_EQ(sim.suite.values().Locked, c.locked);
    EXPECT_EQ(VisibleItems(menu.Root()), c.visible);
    EXPECT_EQ(menu.Item(menu_item::kBlock).caption, c.locked ? "Unlock" : "Lock");
    // "Profiles..." opens the profile editor, which the lock closes.
    EXPECT_TRUE(menu.Item(menu_item::kProfileEditor).visible);
    EXPECT_EQ(menu.Item(menu_item::kProfileEditor).enabled, !c.locked);
  }
}

TEST(MainMenuTest, UnlockingShowsWhatTheFlagsAllowAgain) {
  SuiteOnSim sim;
  MainMenu& menu = sim.suite.menu();
  sim.suite.values().MenuFlags[13] = false;
  menu.ApplyLockedMenu();
  menu.ApplyUnlockedMenu();
  EXPECT_FALSE(sim.suite.values().Locked);
  EXPECT_EQ(VisibleItems(menu.Root()),
            (std::set<std::string>{menu_item::kShed, menu_item::kClock, menu_item::kTime,
                                   menu_item::kCalc, menu_item::kPower, menu_item::kProfile,
                                   menu_item::kBlock, menu_item::kClose}));
  EXPECT_EQ(menu.Item(menu_item::kBlock).caption, "Lock");
}

TEST(MainMenuTest, ProfilesSubmenuListsTheProfilesAndMarksTheCurrentOne) {
  SuiteOnSim sim;
  const auto file = sim.home / "pelorin.hif";
  WriteBytes(file,
             "[System]\r\nProfilesCount=3\r\n[Profile1]\r\nName=Master\r\n[Profile2]\r\n"
             "Name=Work\r\n[Profile3]\r\nPath=Kids\r\n");
  sim.suite.values().Current.number = 2;
  MainMenu& menu = sim.suite.menu();
  menu.RebuildProfilesSubmenu(SettingsFile(file), 3);
  const MenuItem& profiles = menu.Item(menu_item::kProfile);
  EXPECT_EQ(Captions(profiles),
            (std::vector<std::string>{"Profiles...", "-", "Master", "Work", "?"}));
  std::vector<bool> checked;
  for (std::size_t i = 2; i < profiles.children.size(); ++i) {
    EXPECT_TRUE(profiles.children[i].radio);
    checked.push_back(profiles.children[i].checked);
  }
  EXPECT_EQ(checked, (std::vector<bool>{false, true, false}));

  menu.CheckProfile(3);
  checked.clear();
  for (std::size_t i = 2; i < profiles.children.size(); ++i)
    checked.push_back(profiles.children[i].checked);
  EXPECT_EQ(checked, (std::vector<bool>{false, false, true}));

  // A damaged count does not build an item per number it claims.
  menu.RebuildProfilesSubmenu(SettingsFile(file), 2'000'000'000);
  EXPECT_LE(menu.Item(menu_item::kProfile).children.size(), 6u);
}

TEST(MainMenuTest, ProgramsSubmenuKeepsEntriesInOrder) {
  SuiteOnSim sim;
  MainMenu& menu = sim.suite.menu();
  menu.AddProgramItem("Editor", 3);
  menu.AddProgramItem("Browser", 4);
  menu.AddProgramItem("Mail", 12);
  menu.RemoveProgramItem(1);
  menu.RemoveProgramItem(7);  // no such entry
  EXPECT_EQ(Captions(menu.Item(menu_item::kRun)),
            (std::vector<std::string>{"Programs...", "-", "Editor", "Mail"}));
  EXPECT_EQ(menu.Item(menu_item::kRun).children[3].programPicture, 12);
  menu.ResetProgramsSubmenu();
  EXPECT_EQ(Captions(menu.Item(menu_item::kRun)), (std::vector<std::string>{"Programs...", "-"}));
}

TEST(MainMenuTest, PopsUpOnlyWhileAProfileIsActiveAndPreferencesAreClosed) {
  SuiteOnSim sim;
  SharedValues& v = sim.suite.values();
  MainMenu& menu = sim.suite.menu();

  v.ProfileActive = false;
  menu.ShowMainMenu(10, 20);
  v.ProfileActive = true;
  v.PreferencesOpen = true;
  menu.ShowMainMenu(10, 20);
  EXPECT_TRUE(sim.view.popups.empty());
  EXPECT_FALSE(menu.PopupShown());

  v.PreferencesOpen = false;
  menu.ShowMainMenu(10, 20);
  ASSERT_EQ(sim.view.popups.size(), 1u);
  EXPECT_EQ(sim.view.popups[0].x, 10);
  EXPECT_EQ(sim.view.popups[0].y, 20);
  EXPECT_EQ(sim.view.popups[0].menu.children.size(), 17u);
  EXPECT_EQ(sim.view.mixerFlyFronts, 1);
  EXPECT_TRUE(menu.PopupShown());

  // The pop-up is a copy: later changes of the menu do not reach it.
  menu.ApplyLockedMenu();
  EXPECT_TRUE(sim.view.popups[0].menu.Find(menu_item::kClose)->visible);

  // The next 1-second tick forgets the shown menu.
  sim.suite.timers().StartLow();
  sim.timers.Advance(1000);
  EXPECT_FALSE(menu.PopupShown());
}

TEST(MainMenuTest, ProfileItemOfAPopupStartsTheChangeToItsProfile) {
  SuiteOnSim sim;
  const std::string table = "[Profile1]\r\nName=Master\r\n[Profile2]\r\nName=Work\r\nPath=Work\r\n";
  sim.WriteSystemSettings(table);
  WriteBytes(sim.home / "table.hif", table);
  sim.suite.values().ProfilesCount = 2;
  sim.suite.menu().RebuildProfilesSubmenu(SettingsFile(sim.home / "table.hif"), 2);
  sim.screen.cursor = {300, 200};
  sim.suite.menu().ShowSubmenu(MainMenu::Submenu::Power);
  EXPECT_EQ(sim.view.mainWindowFronts, 0);
  sim.view.popups.clear();
  // The Profiles submenu at the pointer (code 202) brings the main window forward.
  sim.suite.menu().ShowSubmenu(MainMenu::Submenu::Profiles);
  EXPECT_EQ(sim.view.mainWindowFronts, 1);
  ASSERT_EQ(sim.view.popups.size(), 1u);
  EXPECT_EQ(sim.view.popups[0].x, 300);
  EXPECT_EQ(sim.view.popups[0].y, 200);
  EXPECT_EQ(sim.view.popups[0].menu.children.at(3).picture, MenuPicture::None);
  const MenuItem& work = sim.view.popups[0].menu.children.at(3);
  EXPECT_EQ(work.caption, "Work");
  work.onClick();
  EXPECT_EQ(sim.suite.values().Current.path, "Work");
  EXPECT_TRUE(sim.suite.values().ProfileSwitchPending);
}

}  // namespace
}  // namespace pelorin
