#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/CommandDispatch.h"
#include "core/MenuItemIds.h"
#include "core/StartupScenario.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "prefs/TF_Profile.h"
#include "prefs/TF_SProfile.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ports::DialogAnswer;
using testing::StartupScenario;
using testing::SuiteProcess;

constexpr const char* kExitQuestion =
    "Do you really want to close Pelorin?\r(all unsaved data will be saved)";

class StartProfilePassword : public StartupScenario {
 protected:
  void SetUp() override {
    Install();
    SetSystemValue("Profile1", "Pass", "secret");
  }
};

TEST_F(StartProfilePassword, WrongPasswordKeepsTheDialogAndTheRightOneLoads) {
  for (const char* opening : {"secret", "master"}) {
    SetSystemValue("System", "MasterPass", "master");
    SuiteProcess p(home.path());
    p.StartUp();
    TF_Pass& pass = p.suite.pass();
    ASSERT_TRUE(pass.Visible());
    EXPECT_EQ(pass.Text(), "Enter password for selected profile.");
    EXPECT_TRUE(pass.CancelEnabled());

    pass.OkClick("wrong");
    p.Advance(500);
    EXPECT_TRUE(pass.Visible());
    EXPECT_FALSE(p.values().ProfileActive);

    pass.OkClick(opening);
    EXPECT_FALSE(pass.Visible());
    p.Advance(100);
    EXPECT_TRUE(p.values().ProfileActive) << opening;
    EXPECT_EQ(pass.PendingAction(), TF_Pass::kNone);
  }
}

TEST_F(StartProfilePassword, EmptyMasterPasswordOpensNothing) {
  SuiteProcess p(home.path());
  p.StartUp();
  p.suite.pass().OkClick("");
  p.Advance(100);
  EXPECT_TRUE(p.suite.pass().Visible());
  EXPECT_FALSE(p.values().ProfileActive);
}

TEST_F(StartProfilePassword, CancelAtStartUpEndsTheSuite) {
  SuiteProcess p(home.path());
  p.StartUp();
  p.suite.pass().OkClick("wrong");
  // The refusal is answered with the pointer wherever the user put it: the dialog
  // let it go (and Alt+Tab) before the message came.
  p.suite.pass().SetDialogRect(500, 300, 280, 200);
  const auto userMovesThePointer = p.timers.Create("UserMovesThePointer", 10, [&p] {
    p.screen.SetCursorXY({10, 790});
  });
  userMovesThePointer->SetEnabled(true);
  p.dialogs.Expect("Impossible to enter in Pelorin : current profile is under password protection!",
                   DialogAnswer::Ok, 50);
  p.suite.pass().CancelClick();
  EXPECT_EQ(p.screen.GetCursorXY(), (ports::ScreenPoint{10, 790}));
  EXPECT_EQ(p.dialogs.Asked().back().caption, "Security System");
  EXPECT_EQ(p.dialogs.Asked().back().icon, ports::DialogIcon::Error);
  EXPECT_TRUE(p.Ended());
  EXPECT_EQ(p.view.endProcessCalls, 1);
  p.Advance(1000);
  EXPECT_FALSE(p.values().ProfileActive);
  EXPECT_TRUE(PlainCopiesLeft().empty());
}

TEST_F(StartProfilePassword, EscapeCancelsOnlyWhereCancelIsAllowed) {
  SetSystemValue("System", "BlockCancel", "1");
  SuiteProcess p(home.path());
  p.StartUp();
  EXPECT_FALSE(p.suite.pass().CancelEnabled());
  p.suite.pass().EscapePressed();
  p.suite.pass().CancelClick();
  p.Advance(100);
  EXPECT_TRUE(p.suite.pass().Visible());
  EXPECT_FALSE(p.Ended());
}

// Until the start profile has been loaded its passwords are not known: a command that
// would ask one, sent from outside or clicked, is refused without a question, whatever
// the start-up is doing, and the start-up goes on as before.
TEST_F(StartProfilePassword, CommandsBeforeTheProfileIsLoadedAreRefused) {
  SetMainValue("AC", "GEN1", "general");
  SetSystemValue("System", "ProfilesCount", "2");
  SetSystemValue("Profile2", "Name", "Work");
  SetSystemValue("Profile2", "Path", "Work");
  enum class Moment { Splash, StartPassword, SelectionWindow };
  for (const Moment moment : {Moment::Splash, Moment::StartPassword, Moment::SelectionWindow}) {
    SCOPED_TRACE(static_cast<int>(moment));
    SetSystemValue("System", "ShowProfiles", moment == Moment::SelectionWindow ? "1" : "0");
    SuiteProcess p(home.path());
    ASSERT_TRUE(p.Create());
    if (moment != Moment::Splash) p.Advance(50 + 1500);

    CommandDispatch& commands = p.suite.commands();
    for (const int code : {116, 115, 202, 114})
      commands.Command(code);
    commands.MenuClick(menu_item::kClose);
    commands.MenuClick(menu_item::kBlock);
    commands.ProfilesItemClick(0);
    commands.ProfilesItemClick(3);
    p.Advance(200);
    EXPECT_TRUE(p.dialogs.Asked().empty());
    EXPECT_FALSE(p.Ended());
    EXPECT_FALSE(p.values().Locked);
    EXPECT_FALSE(p.suite.profileEditor().Visible());
    EXPECT_FALSE(p.values().ProfileSwitchPending);

    if (moment == Moment::Splash) p.Advance(1500);
    if (moment == Moment::SelectionWindow) {
      ASSERT_TRUE(p.suite.selector().Visible());
      p.suite.selector().Select(0);
      p.suite.selector().OKBtnClick();
    }
    TF_Pass& pass = p.suite.pass();
    ASSERT_TRUE(pass.Visible());
    EXPECT_EQ(pass.Text(), "Enter password for selected profile.");
    pass.OkClick("secret");
    p.Advance(100);
    EXPECT_TRUE(p.values().ProfileActive);
    EXPECT_EQ(p.values().Current.path, "Master");

    // Loaded: Exit asks again, with the close password.
    p.dialogs.Expect(kExitQuestion, DialogAnswer::Yes);
    commands.Command(116);
    EXPECT_EQ(pass.Text(), "Enter password to close Pelorin.");
    pass.CancelClick();
    p.suite.main().EndSession();
  }
}

class Shutdown : public StartupScenario {
 protected:
  void SetUp() override {
    Install();
    process = NewProcess();
    process->StartUp();
    process->Advance(400);  // the 200 ms timer starts the companion
    ASSERT_TRUE(process->companion.windowExists);
  }
  bool CompanionToldOfShutdown() const {
    for (const auto& m : process->companion.posted) {
      if (m == ports::kCompanionShutdown) return true;
    }
    return false;
  }

  std::unique_ptr<SuiteProcess> process;
};

TEST_F(Shutdown, ExitWithoutClosePasswordSavesAndEnds) {
  SuiteProcess& p = *process;
  p.dialogs.Expect(kExitQuestion, DialogAnswer::Yes);
  p.suite.main().Exit();
  const ports::MessageRequest& asked = p.dialogs.Asked().back();
  EXPECT_EQ(asked.caption, "Close Pelorin?");
  EXPECT_TRUE(asked.systemModal);
  EXPECT_FALSE(p.suite.pass().Visible());
  p.Advance(100);
  EXPECT_TRUE(p.Ended());
  EXPECT_EQ(p.view.endProcessCalls, 1);
  EXPECT_TRUE(CompanionToldOfShutdown());
  EXPECT_EQ(Plain("status").ReadInteger("POSITION", "X", 0), TF_Main::kParked);
  EXPECT_TRUE(Plain("status").ValueExists("WPOS", "PCAY"));
  EXPECT_TRUE(PlainCopiesLeft().empty());
  EXPECT_FALSE(p.suite.lifetime().Running);
}

TEST_F(Shutdown, ExitAnsweredNoOrWithAWrongPasswordGoesOn) {
  SuiteProcess& p = *process;
  p.dialogs.Expect(kExitQuestion, DialogAnswer::No);
  p.suite.main().Exit();
  p.Advance(200);
  EXPECT_FALSE(p.Ended());

  p.values().AC.GEN1 = "close";
  p.dialogs.Expect(kExitQuestion, DialogAnswer::Yes);
  p.suite.main().Exit();
  EXPECT_EQ(p.suite.pass().Text(), "Enter password to close Pelorin.");
  p.suite.pass().OkClick("open");
  p.suite.pass().CancelClick();
  p.Advance(200);
  EXPECT_FALSE(p.Ended());
  EXPECT_TRUE(p.values().ProfileActive);
}

TEST_F(Shutdown, EndOfTheDesktopSessionSavesAndEnds) {
  SuiteProcess& p = *process;
  EXPECT_TRUE(p.suite.main().QueryEndSession());
  EXPECT_FALSE(p.Ended());
  p.suite.main().EndSession();
  EXPECT_TRUE(p.Ended());
  EXPECT_TRUE(p.suite.lifetime().ClosingAllowed);
  EXPECT_TRUE(Plain("status").ValueExists("POSITION", "X"));
}

TEST_F(Shutdown, CloseFromOutsideIsRefusedAfterSaving) {
  SuiteProcess& p = *process;
  EXPECT_FALSE(p.suite.main().CloseRequested());
  EXPECT_FALSE(p.Ended());
  EXPECT_FALSE(p.suite.lifetime().Running);
  EXPECT_FALSE(p.suite.timers().HiTimer().Enabled());
  EXPECT_TRUE(Plain("status").ValueExists("POSITION", "X"));
  EXPECT_EQ(p.view.endProcessCalls, 0);

  // The strip moved since is saved when the desktop session ends later.
  p.suite.main().MoveMainWindow(120, 80);
  p.suite.main().EndSession();
  EXPECT_TRUE(p.Ended());
  EXPECT_EQ(Plain("status").ReadInteger("POSITION", "X", 0), 120);
  EXPECT_EQ(Plain("status").ReadInteger("POSITION", "Y", 0), 80);
}

}  // namespace
}  // namespace pelorin
