#include <gtest/gtest.h>

#include <string>

#include "core/MainMenu.h"
#include "core/MenuItemIds.h"
#include "core/StartupScenario.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "prefs/TF_Profile.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using testing::StartupScenario;
using testing::SuiteProcess;

constexpr const char* kLockQuestion = "Do you really want to lock Pelorin?";
constexpr int kLockCommand = 115;

class Lock : public StartupScenario {
 protected:
  void SetUp() override { Install(); }

  std::string StoredLockState() const {
    return ScrambledValue(ProfileFile("main.hf"), "STARTUP", "StateBlocked");
  }
  static void LockByMenu(SuiteProcess& p) {
    p.dialogs.Expect(kLockQuestion, DialogAnswer::Yes);
    p.suite.commands().Command(kLockCommand);
  }
  // Unlock without a general password: accepted on the next tick of the password timer.
  static void UnlockByMenu(SuiteProcess& p) {
    p.suite.commands().Command(kLockCommand);
    p.Advance(100);
  }
};

TEST_F(Lock, LockingAsksHidesTheMenuAndStoresTheState) {
  SuiteProcess p(home.path());
  p.StartUp();
  p.dialogs.Expect(kLockQuestion, DialogAnswer::No);
  p.suite.commands().Command(kLockCommand);
  EXPECT_FALSE(p.values().Locked);

  p.suite.commands().ProfilesItemClick(0);
  ASSERT_TRUE(p.suite.profileEditor().Visible());
  LockByMenu(p);
  EXPECT_FALSE(p.suite.profileEditor().Visible());  // the lock closes the windows
  const ports::MessageRequest& asked = p.dialogs.Asked().back();
  EXPECT_EQ(asked.caption, "Security System");
  EXPECT_EQ(asked.icon, ports::DialogIcon::Warning);
  EXPECT_TRUE(p.values().Locked);
  EXPECT_EQ(p.suite.menu().Item(menu_item::kBlock).caption, "Unlock");
  for (const char* hidden :
       {menu_item::kCalc, menu_item::kStatus, menu_item::kPower, menu_item::kClose}) {
    EXPECT_FALSE(p.suite.menu().Item(hidden).visible) << hidden;
  }
  EXPECT_TRUE(p.suite.menu().Item(menu_item::kProfile).visible);
  EXPECT_EQ(StoredLockState(), "1");
  EXPECT_TRUE(PlainCopiesLeft().empty());

  // Everything but the lock item and the Profiles submenu is refused now.
  p.suite.commands().Command(109);  // Calculator
  p.suite.commands().Command(116);  // Exit
  p.suite.commands().ProfilesItemClick(0);
  EXPECT_TRUE(p.shell.Launches().empty());
  EXPECT_FALSE(p.suite.profileEditor().Visible());
  EXPECT_FALSE(p.Ended());

  UnlockByMenu(p);
  EXPECT_FALSE(p.values().Locked);
  EXPECT_EQ(p.suite.menu().Item(menu_item::kBlock).caption, "Lock");
  EXPECT_TRUE(p.suite.menu().Item(menu_item::kCalc).visible);
  EXPECT_EQ(StoredLockState(), "0");
  EXPECT_EQ(p.suite.pass().PendingAction(), TF_Pass::kNone);
}

TEST_F(Lock, TheNextStartFollowsBlockAndRestoreBlock) {
  struct Case {
    const char* block;
    const char* restoreBlock;
    bool lockBeforeLeaving;
    bool lockedAfterRestart;
  };
  const Case cases[] = {
      {"0", "0", true, false}, {"0", "1", true, false},  {"1", "0", false, true},
      {"1", "1", true, true},  {"1", "1", false, false},
  };
  for (const Case& c : cases) {
    SetMainValue("STARTUP", "Block", c.block);
    SetMainValue("STARTUP", "RestoreBlock", c.restoreBlock);
    {
      SuiteProcess p(home.path());
      p.StartUp();
      if (c.lockBeforeLeaving && !p.values().Locked) LockByMenu(p);
      if (!c.lockBeforeLeaving && p.values().Locked) UnlockByMenu(p);
      p.suite.main().EndSession();
      ASSERT_TRUE(p.Ended());
    }
    SuiteProcess again(home.path());
    again.StartUp();
    EXPECT_EQ(again.values().Locked, c.lockedAfterRestart)
        << "Block " << c.block << " RestoreBlock " << c.restoreBlock << " locked before "
        << c.lockBeforeLeaving;
  }
}

TEST_F(Lock, UnlockWantsTheGeneralPasswordOrTheMasterPassword) {
  SetMainValue("AC", "GEN1", "general");
  SetSystemValue("System", "MasterPass", "master");
  for (const char* opening : {"general", "master"}) {
    SuiteProcess p(home.path());
    p.StartUp();
    if (!p.values().Locked) LockByMenu(p);

    // A wrong password and then Cancel: the suite stays locked.
    p.suite.commands().Command(kLockCommand);
    TF_Pass& pass = p.suite.pass();
    ASSERT_TRUE(pass.Visible());
    EXPECT_EQ(pass.Text(), "Enter password to unlock Pelorin.");
    pass.OkClick("wrong");
    EXPECT_TRUE(pass.Visible());
    pass.CancelClick();
    p.Advance(300);
    EXPECT_TRUE(p.values().Locked);
    EXPECT_EQ(pass.PendingAction(), TF_Pass::kNone);

    p.suite.commands().Command(kLockCommand);
    pass.OkClick(opening);
    p.Advance(100);
    EXPECT_FALSE(p.values().Locked) << opening;
    p.suite.main().EndSession();
  }
}

TEST_F(Lock, TheDialogTakesAltTabAndHoldsThePointerWhileItIsShown) {
  SetMainValue("AC", "GEN1", "general");
  // The screen confines the pointer; where it refuses, the dialog's own timer holds it.
  for (const bool screenRefuses : {false, true}) {
    SCOPED_TRACE(screenRefuses ? "the screen refuses to confine" : "the screen confines");
    SuiteProcess p(home.path());
    p.screen.refuseConfinement = screenRefuses;
    p.StartUp();
    LockByMenu(p);
    p.suite.commands().Command(kLockCommand);
    TF_Pass& pass = p.suite.pass();
    ASSERT_TRUE(pass.Visible());
    const auto& registered = p.hotkeys.Registered();
    ASSERT_TRUE(registered.count(TF_Pass::kTaskSwitchHotkey));
    EXPECT_EQ(registered.at(TF_Pass::kTaskSwitchHotkey).modifiers, 1u);  // Alt
    EXPECT_EQ(registered.at(TF_Pass::kTaskSwitchHotkey).virtualKey, 0x09);

    pass.SetDialogRect(500, 300, 280, 200);
    p.screen.SetCursorXY({10, 790});
    p.Advance(2);
    EXPECT_EQ(p.screen.GetCursorXY(), (ports::ScreenPoint{505, 495}));
    p.screen.SetCursorXY({600, 400});
    p.Advance(2);
    EXPECT_EQ(p.screen.GetCursorXY(), (ports::ScreenPoint{600, 400}));
    // Moved, the dialog takes the hold along.
    pass.SetDialogRect(20, 30, 280, 200);
    p.screen.SetCursorXY({1000, 0});
    p.Advance(2);
    EXPECT_EQ(p.screen.GetCursorXY(), (ports::ScreenPoint{295, 35}));

    pass.OkClick("general");
    EXPECT_FALSE(registered.count(TF_Pass::kTaskSwitchHotkey));
    EXPECT_FALSE(p.screen.confinedTo.has_value());
    p.screen.SetCursorXY({10, 790});
    p.Advance(100);
    EXPECT_EQ(p.screen.GetCursorXY(), (ports::ScreenPoint{10, 790}));
    EXPECT_FALSE(p.values().Locked);
    p.suite.main().EndSession();
  }
}

}  // namespace
}  // namespace pelorin
