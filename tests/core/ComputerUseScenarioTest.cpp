#include <gtest/gtest.h>

#include <string>

#include "core/BackgroundTimers.h"
#include "core/MenuItemIds.h"
#include "core/ProfileLoader.h"
#include "core/StartupScenario.h"
#include "core/TF_Pass.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using ports::PowerCall;
using testing::StartupScenario;
using testing::SuiteProcess;

constexpr const char* kComputerUseText = "Enter password for continuing work in Windows";
constexpr int kLockCommand = 115;
constexpr int kExitCommand = 116;
constexpr int kSecondProfilePosition = 3;  // "Profiles...", a separator, Master, Work

class ComputerUse : public StartupScenario {
 protected:
  void SetUp() override {
    Install();
    // Allowed from 10:30 to 18:00; the sim clock starts at 09:00.
    ChangeScrambledFile(ProfileFile("wimpcax2.hf"), [](SettingsFile& f) {
      f.WriteString("POWER", "H1", "10");
      f.WriteString("POWER", "M1", "30");
      f.WriteString("POWER", "H2", "18");
      f.WriteString("POWER", "M2", "00");
      f.WriteInteger("POWER", "FuncS", 3);
    });
    SetMainValue("AC", "PCA1", "agent");
  }

  // Starts the suite and lets the first 1-second tick ask for the password.
  static void StartUntilAsked(SuiteProcess& p) {
    p.StartUp();
    p.Advance(1000);
    ASSERT_TRUE(Asking(p));
  }
  // The computer-use request waits with its dialog on screen, and the 1-second check
  // waits for it.
  static bool Asking(SuiteProcess& p) {
    const TF_Pass& pass = p.suite.pass();
    return pass.Visible() && pass.PendingAction() == TF_Pass::kComputerUse &&
           pass.Text() == kComputerUseText && !p.suite.timers().LowTimer().Enabled();
  }
};

TEST_F(ComputerUse, ThePasswordLeftAloneForFifteenSecondsRunsThePowerFunction) {
  SuiteProcess p(home.path());
  p.StartUp();
  p.Advance(1000);
  TF_Pass& pass = p.suite.pass();
  ASSERT_TRUE(pass.Visible());
  EXPECT_EQ(pass.Text(), "Enter password for continuing work in Windows");
  EXPECT_EQ(pass.Timeout(), 15000);
  EXPECT_TRUE(pass.CancelEnabled());
  EXPECT_FALSE(p.suite.timers().LowTimer().Enabled());

  p.Advance(14000);
  EXPECT_TRUE(p.power.performed.empty());
  p.Advance(1200);
  EXPECT_FALSE(pass.Visible());
  ASSERT_EQ(p.power.performed.size(), 1u);
  EXPECT_EQ(p.power.performed[0], ports::PowerCall::Suspend);
  EXPECT_FALSE(p.Ended());
}

TEST_F(ComputerUse, TheRightPasswordAllowsTheComputerUntilTheNextLoad) {
  SuiteProcess p(home.path());
  p.StartUp();
  p.Advance(1000);
  p.suite.pass().OkClick("agent");
  p.Advance(100);
  EXPECT_FALSE(p.suite.timers().ComputerUseCheckAllowed());
  EXPECT_TRUE(p.suite.timers().LowTimer().Enabled());
  p.Advance(60000);
  EXPECT_FALSE(p.suite.pass().Visible());
  EXPECT_TRUE(p.power.performed.empty());
}

// However the request ends without the password, the suite that outlives its power
// function checks the hours again a second later and asks again: the limit holds.
TEST_F(ComputerUse, EveryEndWithoutThePasswordLeadsToTheCheckAgain) {
  enum class End { Cancel, Escape, Timeout };
  struct Case {
    const char* story;
    End end;
    int funcS;
    bool refusedBySystem;
    bool sleeps;  // the computer goes to sleep and wakes up again
  };
  const Case cases[] = {
      {"sleep after Cancel", End::Cancel, 3, false, true},
      {"hibernate after the time-out", End::Timeout, 2, false, true},
      {"power off refused by the system", End::Cancel, 0, true, false},
      {"log off refused by the system", End::Timeout, 5, true, false},
      {"a power function that does nothing", End::Escape, 9, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.story);
    ChangeScrambledFile(ProfileFile("wimpcax2.hf"),
                        [&c](SettingsFile& f) { f.WriteInteger("POWER", "FuncS", c.funcS); });
    SuiteProcess p(home.path());
    if (c.refusedBySystem) {
      p.power.Refuse(PowerCall::PowerOff);
      p.power.Refuse(PowerCall::LogOff);
    }
    StartUntilAsked(p);
    if (c.refusedBySystem)
      p.dialogs.ExpectContaining("The system does not allow", DialogAnswer::Ok);

    TF_Pass& pass = p.suite.pass();
    switch (c.end) {
      case End::Cancel:
        pass.CancelClick();
        break;
      case End::Escape:
        pass.EscapePressed();
        break;
      case End::Timeout:
        p.Advance(15000);
        break;
    }
    p.Advance(300);  // the password timer sees the outcome and the system answers
    if (c.sleeps) {
      p.power.InjectSuspend();
      p.power.InjectResume();
    }
    EXPECT_FALSE(p.Ended());
    EXPECT_EQ(p.dialogs.Pending(), 0u);
    EXPECT_FALSE(pass.Visible());
    p.Advance(1000);
    EXPECT_TRUE(Asking(p));
    p.suite.main().EndSession();
  }
}

// While the computer-use request waits, no other request takes its place: Exit, a
// profile switch and Unlock are refused without a question, the old profile stays as it
// was, and the 15 seconds count on from the first request.
TEST_F(ComputerUse, OtherRequestsCannotDisplaceTheWaitingRequest) {
  SetMainValue("AC", "GEN1", "general");
  SetSystemValue("System", "ProfilesCount", "2");
  SetSystemValue("Profile2", "Name", "Work");
  SetSystemValue("Profile2", "Path", "Work");
  SuiteProcess p(home.path());
  StartUntilAsked(p);
  const int registered = static_cast<int>(p.hotkeys.Registered().size());

  p.suite.commands().Command(kExitCommand);
  p.suite.commands().MenuClick(menu_item::kClose);
  p.suite.commands().ProfilesItemClick(kSecondProfilePosition);
  EXPECT_TRUE(Asking(p));
  EXPECT_EQ(p.values().Current.path, "Master");
  EXPECT_TRUE(p.values().ProfileActive);
  EXPECT_FALSE(p.values().ProfileSwitchPending);
  EXPECT_EQ(static_cast<int>(p.hotkeys.Registered().size()), registered);

  // Locking asks no password and may go on; unlocking may not.
  p.dialogs.Expect("Do you really want to lock Pelorin?", DialogAnswer::Yes);
  p.suite.commands().Command(kLockCommand);
  ASSERT_TRUE(p.values().Locked);
  p.suite.commands().Command(kLockCommand);
  EXPECT_TRUE(Asking(p));
  EXPECT_EQ(p.dialogs.Asked().size(), 1u);

  p.Advance(13000);
  EXPECT_TRUE(p.power.performed.empty());
  p.Advance(2200);
  EXPECT_EQ(p.power.performed, (std::vector<PowerCall>{PowerCall::Suspend}));
  EXPECT_FALSE(p.Ended());
}

// A profile reload while the request waits does not give the user a new 15 seconds.
TEST_F(ComputerUse, AReloadOfTheProfileKeepsTheTimeLimitRunning) {
  SuiteProcess p(home.path());
  StartUntilAsked(p);
  p.Advance(10000);
  p.suite.loader().LoadProfile("Master");
  p.Advance(1000);
  EXPECT_TRUE(Asking(p));
  EXPECT_TRUE(p.power.performed.empty());
  p.Advance(4500);
  EXPECT_EQ(p.power.performed, (std::vector<PowerCall>{PowerCall::Suspend}));
}

TEST(ComputerUseHours, TheWindowAndBoxesWithoutDigits) {
  struct Case {
    ComputerUseHours hours;
    int hour, minute;
    bool allowed;
  };
  const Case cases[] = {
      {{"10", "30", "18", "00", 0}, 10, 29, false},
      {{"10", "30", "18", "00", 0}, 10, 30, true},
      {{"10", "30", "18", "00", 0}, 18, 0, true},
      {{"10", "30", "18", "00", 0}, 18, 1, false},
      {{"10", "30", "18", "00", 0}, 9, 59, false},
      {{"x", "", "2a", "-1", 0}, 0, 0, true},
      {{"x", "", "2a", "-1", 0}, 23, 59, true},
      {{"00", "00", "23", "59", 0}, 12, 0, true},
      {{"99999999999", "0", "23", "59", 0}, 0, 0, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.hours.Allows(c.hour, c.minute), c.allowed)
        << c.hours.H1 << ":" << c.hours.M1 << "-" << c.hours.H2 << ":" << c.hours.M2 << " at "
        << c.hour << ":" << c.minute;
  }
}

}  // namespace
}  // namespace pelorin
