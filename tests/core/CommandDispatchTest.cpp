#include "core/CommandDispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/MenuItemIds.h"
#include "core/SuiteOnSim.h"
#include "core/TF_Pass.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using testing::SuiteOnSim;
using testing::WriteBytes;

constexpr const char* kExitQuestion =
    "Do you really want to close Pelorin?\r(all unsaved data will be saved)";
constexpr const char* kLockQuestion = "Do you really want to lock Pelorin?";

// What a command did, as seen from outside the core.
struct Effects {
  std::size_t launches, popups, questions;
  int stripLeft;
};

Effects EffectsOf(int code, bool locked) {
  SuiteOnSim sim;
  sim.suite.main().MoveMainWindow(20, 30);
  if (locked) sim.suite.menu().ApplyLockedMenu();
  // Exit asks first; the answer No ends it there.
  if (code == 116 && !locked) sim.dialogs.Expect(kExitQuestion, DialogAnswer::No);
  // So does the lock.
  if (code == 115 && !locked) sim.dialogs.Expect(kLockQuestion, DialogAnswer::No);
  sim.suite.commands().Command(code);
  EXPECT_EQ(sim.dialogs.Pending(), 0u) << "code " << code;
  return {sim.shell.Launches().size(), sim.view.popups.size(), sim.dialogs.Asked().size(),
          sim.suite.main().Left()};
}

// Which codes act: while locked only 115 and 202 get through. Codes of parts that do
// not exist in this build yet (101-108, 110, 111, 114, 201) act on nothing.
TEST(CommandDispatchTest, CodesActByTheLockState) {
  struct Case {
    int code;
    Effects unlocked, locked;
  };
  const Effects none{0, 0, 0, 20};
  const std::vector<Case> cases = {
      {101, none, none},
      {102, none, none},
      {108, none, none},
      {109, {1, 0, 0, 20}, none},
      {112, none, none},
      {113, {0, 0, 0, 20 - 4000}, none},
      {114, none, none},
      {115, {0, 0, 1, 20}, none},
      {116, {0, 0, 1, 20}, none},
      {117, none, none},
      {200, none, none},
      {201, none, none},
      {202, {0, 1, 0, 20}, {0, 1, 0, 20}},
      {203, {0, 1, 0, 20}, none},
      {0, none, none},
  };
  for (const Case& c : cases) {
    for (bool locked : {false, true}) {
      SCOPED_TRACE("code " + std::to_string(c.code) + (locked ? " locked" : " unlocked"));
      const Effects got = EffectsOf(c.code, locked);
      const Effects& want = locked ? c.locked : c.unlocked;
      EXPECT_EQ(got.launches, want.launches);
      EXPECT_EQ(got.popups, want.popups);
      EXPECT_EQ(got.questions, want.questions);
      EXPECT_EQ(got.stripLeft, want.stripLeft);
    }
  }
}

TEST(CommandDispatchTest, CalculatorRunsTheDesktopCalculatorOrSaysWhyNot) {
  {
    SuiteOnSim sim;
    sim.suite.commands().Command(109);
    ASSERT_EQ(sim.shell.Launches().size(), 1u);
    const auto& launch = sim.shell.Launches()[0];
    EXPECT_EQ(launch.file, "calc.exe");
    EXPECT_EQ(launch.parameters, "");
    EXPECT_EQ(launch.directory, "");
    EXPECT_EQ(launch.mode, ports::ShowMode::Default);
    EXPECT_TRUE(sim.dialogs.Asked().empty());
  }
  {
    // None installed: nothing is started, and the message names what was looked for.
    SuiteOnSim sim;
    sim.shell.RemoveCalculator();
    sim.dialogs.ExpectContaining("sim-calculator", DialogAnswer::Ok);
    sim.suite.commands().MenuClick(menu_item::kCalc);
    EXPECT_TRUE(sim.shell.Launches().empty());
    ASSERT_EQ(sim.dialogs.Asked().size(), 1u);
    EXPECT_EQ(sim.dialogs.Asked()[0].text,
              "No calculator is installed.\rPelorin looks for sim-calculator in the program path "
              "(PATH); install one of them to use this item.");
    EXPECT_EQ(sim.dialogs.Asked()[0].caption, "Calculator");
  }
  {
    // Installed but it does not start.
    SuiteOnSim sim;
    sim.shell.FailLaunches(true);
    sim.dialogs.Expect("The calculator sim-calculator could not be started.", DialogAnswer::Ok);
    sim.suite.commands().Command(109);
    EXPECT_EQ(sim.shell.Launches().size(), 1u);
    EXPECT_EQ(sim.dialogs.Pending(), 0u);
  }
}

TEST(CommandDispatchTest, ProfilesSubmenuWhileLockedHasProfilesDisabled) {
  SuiteOnSim sim;
  sim.suite.menu().ApplyLockedMenu();
  sim.screen.cursor = {700, 500};
  sim.suite.commands().Command(202);
  ASSERT_EQ(sim.view.popups.size(), 1u);
  EXPECT_EQ(sim.view.popups[0].x, 700);
  EXPECT_EQ(sim.view.popups[0].y, 500);
  EXPECT_FALSE(sim.view.popups[0].menu.children.at(0).enabled);
}

TEST(CommandDispatchTest, SubmenuCodesWaitForPreferencesToClose) {
  SuiteOnSim sim;
  sim.suite.values().PreferencesOpen = true;
  sim.suite.commands().Command(202);
  EXPECT_TRUE(sim.view.popups.empty());
  sim.suite.values().PreferencesOpen = false;
  sim.suite.commands().Command(202);
  EXPECT_EQ(sim.view.popups.size(), 1u);
}

TEST(CommandDispatchTest, IPanelHidesAndShowsTheStripAtItsPlace) {
  SuiteOnSim sim;
  TF_Main& main = sim.suite.main();
  main.MoveMainWindow(300, 40);
  sim.suite.commands().MenuClick(menu_item::kStatus);
  EXPECT_EQ(main.Left(), 300 - 4000);
  EXPECT_EQ(main.Top(), 40);
  // Showing takes the place status.hif keeps (a hidden strip 4000 pixels to the left),
  // kept inside the screen.
  const auto status = sim.suite.values().ProfileDir / "status.hif";
  WriteBytes(status, "[POSITION]\r\nX=-3700\r\nY=40\r\n");
  sim.suite.commands().MenuClick(menu_item::kStatus);
  EXPECT_EQ(main.Left(), 300);
  EXPECT_EQ(main.Top(), 40);
  main.MoveMainWindow(-4000, 0);
  WriteBytes(status, "[POSITION]\r\nX=1270\r\nY=790\r\n");
  sim.suite.commands().MenuClick(menu_item::kStatus);
  EXPECT_EQ(main.Left(), 1280 - 97);
  EXPECT_EQ(main.Top(), 800 - 33);
}

TEST(CommandDispatchTest, TrayRightClickPopsTheMenuAtThePoint) {
  SuiteOnSim sim;
  sim.suite.commands().TrayRightClick(1200, 790);
  ASSERT_EQ(sim.view.popups.size(), 1u);
  EXPECT_EQ(sim.view.popups[0].x, 1200);
  EXPECT_EQ(sim.view.popups[0].y, 790);
}

class ProfileChangeTest : public ::testing::Test {
 protected:
  ProfileChangeTest() {
    sim.WriteSystemSettings(
        "[System]\r\nProfilesCount=2\r\n[Profile1]\r\nName=Master\r\nPath=Master\r\n"
        "[Profile2]\r\nName=Work desk\r\nPath=Work\r\nType=0\r\nPass=secret\r\n");
    SharedValues& v = sim.suite.values();
    v.ProfilesCount = 2;
    sim.suite.hotkeys().Keys().MenuKey = {77, 1, 1, 0, 0};
    sim.suite.hotkeys().RegisterHotkeys();
    v.RestoringMode = true;
    v.StartupSelection = true;
    v.FromSelector = true;
  }

  SuiteOnSim sim;
};

TEST_F(ProfileChangeTest, ChoosingAProfileAsksItsPasswordAndRemembersTheOldOne) {
  SharedValues& v = sim.suite.values();
  sim.suite.commands().ProfilesItemClick(3);

  EXPECT_EQ(v.Current.number, 2);
  EXPECT_EQ(v.Current.type, 0);
  EXPECT_EQ(v.Current.path, "Work");
  EXPECT_EQ(v.Current.name, "Work desk");
  EXPECT_EQ(v.Previous.number, 1);
  EXPECT_EQ(v.Previous.path, "Master");
  EXPECT_FALSE(v.ProfileActive);
  EXPECT_TRUE(v.ProfileSwitchPending);
  EXPECT_FALSE(v.RestoringMode);
  EXPECT_FALSE(v.StartupSelection);
  EXPECT_FALSE(v.FromSelector);
  // The old profile's keys are released; only Alt+Tab is held while the dialog shows.
  EXPECT_EQ(sim.hotkeys.Registered().size(), 1u);
  EXPECT_TRUE(sim.hotkeys.Registered().count(TF_Pass::kTaskSwitchHotkey));

  const TF_Pass& pass = sim.suite.pass();
  EXPECT_EQ(pass.PendingAction(), TF_Pass::kProfileChange);
  EXPECT_EQ(pass.Text(), "Enter password for selected profile.");
  EXPECT_TRUE(pass.Visible());
  EXPECT_TRUE(pass.CancelEnabled());
  // The plain copy of the system settings is gone again.
  EXPECT_FALSE(std::filesystem::exists(sim.suite.context().layout.SystemSettingsCopy()));
}

TEST_F(ProfileChangeTest, BlockCancelTakesTheCancelButtonAway) {
  sim.suite.values().BlockCancel = true;
  sim.suite.commands().ProfilesItemClick(3);
  EXPECT_FALSE(sim.suite.pass().CancelEnabled());
}

TEST_F(ProfileChangeTest, PositionsOutsideTheProfilesDoNothing) {
  for (int position : {-1, 0, 1, 4, 99}) {
    sim.suite.commands().ProfilesItemClick(position);
    EXPECT_TRUE(sim.suite.values().ProfileActive) << position;
    EXPECT_EQ(sim.suite.values().Current.number, 1) << position;
  }
  EXPECT_FALSE(sim.hotkeys.Registered().empty());
}

TEST_F(ProfileChangeTest, ASecondChoiceWhileWaitingKeepsTheProfileToGoBackTo) {
  sim.suite.commands().ProfilesItemClick(3);
  sim.suite.commands().ProfilesItemClick(2);
  EXPECT_EQ(sim.suite.values().Current.number, 1);
  EXPECT_EQ(sim.suite.values().Previous.number, 1);
  EXPECT_EQ(sim.suite.values().Previous.path, "Master");
}

}  // namespace
}  // namespace pelorin
