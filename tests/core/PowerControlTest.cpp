#include "core/PowerControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/MenuItemIds.h"
#include "core/StartupScenario.h"
#include "core/StatusStrip.h"
#include "core/SuiteOnSim.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using ports::PowerAnswer;
using ports::PowerCall;
using testing::StartupScenario;
using testing::SuiteOnSim;
using testing::WriteBytes;

constexpr int kKeyM = 0x4D;
constexpr const char* kPowerOffQuestion = "Do you really want to power off your computer?";
constexpr const char* kPowerOffRefused =
    "The system does not allow the computer to be turned off now.";
constexpr const char* kNoAnswer = "\r\rThe system did not answer in time.";
constexpr const char* kClosesNow = "\r\rPelorin has saved its data and closes now.";
// Long enough for every answer of the simulated system, unanswered ones included.
constexpr int kAnswersArrivedMs = 2000;

struct QuestionCase {
  const char* question;  // nullptr: none is asked
  const char* caption;
  DialogAnswer answer;
  std::optional<PowerCall> performed;
  bool ends;
};

// The power control on the simulated suite with the strip's measurements running and
// one registered hot-key (the menu key), which shows whether the hot-keys are held.
struct PowerSim {
  PowerSim() {
    sim.suite.hotkeys().Keys().MenuKey = {kKeyM, 1, 1, 0, 0};
    sim.suite.hotkeys().RegisterHotkeys();
    strip.StartTimers();
  }

  bool HotkeysHeld() const { return !sim.hotkeys.Registered().empty(); }
  bool Ended() { return sim.suite.main().Ended(); }
  void Advance(std::int64_t milliseconds) { sim.timers.Advance(milliseconds); }
  // A whenDone that counts its runs.
  std::function<void()> CountDone(int& runs) {
    return [&runs] { ++runs; };
  }
  void WritePowerKeys(std::string_view lines) {
    WriteBytes(sim.suite.values().ProfileDir / "pcagent.hif", "[Power]\r\n" + std::string(lines));
  }

  // After an action: the one call made (if any), and whether the suite ended for it or
  // is still running as before.
  void ExpectOutcome(std::optional<PowerCall> performed, bool ends) {
    EXPECT_EQ(sim.power.performed,
              performed ? std::vector<PowerCall>{*performed} : std::vector<PowerCall>{});
    EXPECT_EQ(Ended(), ends);
    EXPECT_EQ(sim.view.endProcessCalls, ends ? 1 : 0);
    EXPECT_EQ(sim.suite.lifetime().Running, !ends);
    // An ending suite has let its hot-key atoms go; a running one still holds its keys.
    EXPECT_EQ(sim.suite.hotkeys().AtomId("PELN_PWR1") != 0, !ends);
    if (!ends) {
      EXPECT_TRUE(HotkeysHeld());
    }
  }

  // Scripts the case's answer, acts, and checks the question (a warning with Yes and
  // No, or none) and the outcome.
  void Check(const QuestionCase& e, bool systemModal, const std::function<void()>& act) {
    if (e.question != nullptr) sim.dialogs.Expect(e.question, e.answer);
    act();
    // The system answers later: nothing has been carried out or ended yet.
    EXPECT_TRUE(sim.power.performed.empty());
    EXPECT_FALSE(Ended());
    Advance(kAnswersArrivedMs);
    EXPECT_EQ(sim.dialogs.Pending(), 0u);
    if (e.question == nullptr) {
      EXPECT_TRUE(sim.dialogs.Asked().empty());
    } else if (sim.dialogs.Asked().size() == 1u) {
      const ports::MessageRequest& asked = sim.dialogs.Asked()[0];
      EXPECT_EQ(asked.caption, e.caption);
      EXPECT_EQ(asked.icon, ports::DialogIcon::Warning);
      EXPECT_EQ(asked.buttons, ports::DialogButtons::YesNo);
      EXPECT_EQ(asked.systemModal, systemModal);
    } else {
      ADD_FAILURE() << sim.dialogs.Asked().size() << " questions asked";
    }
    ExpectOutcome(e.performed, e.ends);
  }

  SuiteOnSim sim;
  StatusStrip& strip = sim.suite.strip();
  PowerControl& power = sim.suite.power();
};

TEST(PowerControlTest, PowerMenuAsksForTheMainWindowAndActsOnlyOnYes) {
  struct Case {
    const char* item;
    QuestionCase expected;
  };
  const char* const hibernate = "Do you really want to hibernate?";
  const char* const restart = "Do you really want to restart Windows?";
  const std::vector<Case> cases = {
      {menu_item::kPowerOff,
       {kPowerOffQuestion, "Power off", DialogAnswer::Yes, PowerCall::PowerOff, true}},
      {menu_item::kPowerOff, {kPowerOffQuestion, "Power off", DialogAnswer::No, {}, false}},
      {menu_item::kHibernate,
       {hibernate, "Hibernate", DialogAnswer::Yes, PowerCall::Hibernate, false}},
      {menu_item::kHibernate, {hibernate, "Hibernate", DialogAnswer::No, {}, false}},
      {menu_item::kSleep, {nullptr, nullptr, DialogAnswer::Yes, PowerCall::Suspend, false}},
      {menu_item::kRestart, {restart, "Restart", DialogAnswer::Yes, PowerCall::Reboot, true}},
      {menu_item::kRestart, {restart, "Restart", DialogAnswer::No, {}, false}},
      {menu_item::kCalc, {nullptr, nullptr, DialogAnswer::Yes, {}, false}},
  };
  for (const Case& c : cases) {
    const QuestionCase& e = c.expected;
    SCOPED_TRACE(std::string(c.item) + (e.answer == DialogAnswer::Yes ? " yes" : " no"));
    PowerSim s;
    s.Check(e, false, [&] { s.power.MenuClick(c.item); });
  }
}

TEST(PowerControlTest, FirstPowerKeyAsksAboveEverythingForTheKindStoredNow) {
  struct Case {
    const char* keys;  // pcagent.hif Power lines
    QuestionCase expected;
  };
  const std::vector<Case> cases = {
      {"", {kPowerOffQuestion, "Power off", DialogAnswer::Yes, PowerCall::PowerOff, true}},
      {"Func1=1\r\n",
       {"Do you really want to shut down Windows?", "Shut down", DialogAnswer::Yes,
        PowerCall::PowerOff, true}},
      {"Func1=2\r\n",
       {"Do you really want to hibernate?", "Hibernate", DialogAnswer::Yes, PowerCall::Hibernate,
        false}},
      {"Func1=3\r\n", {nullptr, nullptr, DialogAnswer::Yes, PowerCall::Suspend, false}},
      {"Func1=4\r\n",
       {"Do you really want to restart Windows?", "Restart", DialogAnswer::Yes, PowerCall::Reboot,
        true}},
      {"Func1=5\r\n",
       {"Do you really want to log off current user?", "Log off", DialogAnswer::Yes,
        PowerCall::LogOff, true}},
      {"Func1=5\r\n",
       {"Do you really want to log off current user?", "Log off", DialogAnswer::No, {}, false}},
      {"Func1=9\r\n", {nullptr, nullptr, DialogAnswer::Yes, {}, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    PowerSim s;
    s.WritePowerKeys(c.keys);
    s.Check(c.expected, true, [&] { s.power.PowerHotkey(1); });
  }
}

TEST(PowerControlTest, SecondAndThirdPowerKeysActAtOnce) {
  struct Case {
    int key;
    const char* keys;
    std::optional<PowerCall> performed;
    bool ends;
  };
  const std::vector<Case> cases = {
      {2, "Func1=4\r\nFunc2=3\r\nFunc3=0\r\n", PowerCall::Suspend, false},
      {3, "Func1=4\r\nFunc2=0\r\nFunc3=3\r\n", PowerCall::Suspend, false},
      {2, "Func2=2\r\n", PowerCall::Hibernate, false},
      {3, "Func3=5\r\n", PowerCall::LogOff, true},
      {2, "", PowerCall::PowerOff, true},
      {4, "Func1=3\r\nFunc2=3\r\nFunc3=3\r\n", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.key) + ": " + c.keys);
    PowerSim s;
    s.WritePowerKeys(c.keys);
    s.power.PowerHotkey(c.key);
    s.Advance(kAnswersArrivedMs);
    EXPECT_TRUE(s.sim.dialogs.Asked().empty());
    s.ExpectOutcome(c.performed, c.ends);
  }
}

TEST(PowerControlTest, RefusedOrUnansweredCallIsReportedAndTheSuiteGoesOn) {
  struct Case {
    int kind;
    PowerCall call;
    const char* message;
  };
  const std::vector<Case> cases = {
      {0, PowerCall::PowerOff, kPowerOffRefused},
      {1, PowerCall::PowerOff, kPowerOffRefused},
      {2, PowerCall::Hibernate, "The system does not allow the computer to hibernate now."},
      {3, PowerCall::Suspend, "The system does not allow the computer to be put to sleep now."},
      {4, PowerCall::Reboot, "The system does not allow the computer to be restarted now."},
      {5, PowerCall::LogOff, "The system does not allow the current user to be logged off now."},
  };
  for (const Case& c : cases) {
    for (const PowerAnswer answer : {PowerAnswer::No, PowerAnswer::NoAnswer}) {
      SCOPED_TRACE(std::to_string(c.kind) + (answer == PowerAnswer::No ? " refused" : " silent"));
      PowerSim s;
      s.sim.companion.windowExists = true;
      s.sim.power.allowedAnswers[c.call] = answer;
      s.sim.power.performAnswers[c.call] = answer;
      const std::string message =
          std::string(c.message) + (answer == PowerAnswer::NoAnswer ? kNoAnswer : "");
      s.sim.dialogs.Expect(message, DialogAnswer::Ok);
      int done = 0;
      s.power.PowerAction(c.kind, s.CountDone(done));
      EXPECT_TRUE(s.power.ActionUnderway());
      s.Advance(s.sim.power.answerDelayMs - 1);
      EXPECT_TRUE(s.sim.dialogs.Asked().empty());
      s.Advance(kAnswersArrivedMs);
      EXPECT_EQ(s.sim.dialogs.Pending(), 0u);
      ASSERT_EQ(s.sim.dialogs.Asked().size(), 1u);
      EXPECT_EQ(s.sim.dialogs.Asked()[0].caption, "Pelorin");
      EXPECT_EQ(s.sim.dialogs.Asked()[0].icon, ports::DialogIcon::Error);
      EXPECT_EQ(done, 1);
      EXPECT_FALSE(s.power.ActionUnderway());
      s.ExpectOutcome({}, false);
      // Nothing of the shutdown began: the companion was not told, the atoms are there.
      EXPECT_TRUE(s.sim.companion.posted.empty());
      EXPECT_FALSE(s.sim.suite.lifetime().ClosingAllowed);
      EXPECT_NE(s.sim.suite.hotkeys().AtomId("PELN_PWR1"), 0);
      EXPECT_TRUE(s.strip.StatusTimer().Enabled());
    }
  }
}

TEST(PowerControlTest, EndingCallThatFailsAfterSavingIsReportedAndTheSuiteEnds) {
  for (const PowerAnswer answer : {PowerAnswer::No, PowerAnswer::NoAnswer}) {
    SCOPED_TRACE(answer == PowerAnswer::No ? "failed" : "unanswered");
    PowerSim s;
    s.sim.power.performAnswers[PowerCall::Reboot] = answer;
    s.sim.dialogs.Expect(
        std::string("The system does not allow the computer to be restarted now.") +
            (answer == PowerAnswer::NoAnswer ? kNoAnswer : "") + kClosesNow,
        DialogAnswer::Ok);
    int done = 0;
    s.power.PowerAction(PowerControl::kRestart, s.CountDone(done));
    // Allowed: the suite has saved and waits for the call's answer with its timers
    // stopped.
    s.Advance(s.sim.power.answerDelayMs);
    EXPECT_TRUE(s.sim.suite.lifetime().ClosingAllowed);
    EXPECT_FALSE(s.Ended());
    EXPECT_FALSE(s.strip.StatusTimer().Enabled());
    EXPECT_FALSE(s.sim.suite.timers().LowTimer().Enabled());
    s.Advance(kAnswersArrivedMs);
    EXPECT_EQ(s.sim.dialogs.Pending(), 0u);
    EXPECT_EQ(s.sim.power.requested, std::vector<PowerCall>{PowerCall::Reboot});
    EXPECT_TRUE(s.Ended());
    EXPECT_EQ(s.sim.view.endProcessCalls, 1);
    EXPECT_EQ(done, 0);
  }
}

TEST(PowerControlTest, RequestsWhileAnActionIsOnItsWayAreIgnoredAndEndWithIt) {
  PowerSim s;
  s.sim.power.answerDelayMs = 1000;
  s.sim.power.Refuse(PowerCall::PowerOff);
  s.WritePowerKeys("Func1=0\r\nFunc2=3\r\n");
  std::vector<std::string> done;
  s.power.PowerAction(PowerControl::kTurnOff, [&] { done.push_back("power off"); });
  s.Advance(500);
  // Neither a question nor a call for what comes meanwhile.
  s.power.MenuClick(menu_item::kPowerOff);
  s.power.PowerHotkey(1);
  s.power.PowerHotkey(2);
  s.power.PowerAction(PowerControl::kSleep, [&] { done.push_back("sleep"); });
  s.Advance(400);
  EXPECT_TRUE(s.sim.dialogs.Asked().empty());
  EXPECT_TRUE(done.empty());

  s.sim.dialogs.Expect(kPowerOffRefused, DialogAnswer::Ok);
  s.Advance(kAnswersArrivedMs);
  EXPECT_EQ(s.sim.dialogs.Pending(), 0u);
  EXPECT_EQ(s.sim.dialogs.Asked().size(), 1u);
  EXPECT_TRUE(s.sim.power.requested.empty());
  EXPECT_EQ(done, (std::vector<std::string>{"power off", "sleep"}));

  // Over: the next request acts.
  s.power.PowerHotkey(2);
  s.Advance(kAnswersArrivedMs);
  EXPECT_EQ(s.sim.power.performed, std::vector<PowerCall>{PowerCall::Suspend});
  EXPECT_EQ(done.size(), 2u);
}

TEST(PowerControlTest, WhenDoneRunsOnceWhenTheActionIsOverAndTheSuiteStillRuns) {
  using Step = std::function<void(PowerSim&)>;
  const Step suspend = [](PowerSim& s) { s.power.WMPowerBroadcast(PowerControl::kSuspendEvent); };
  const Step resume = [](PowerSim& s) { s.power.WMPowerBroadcast(PowerControl::kResumeEvent); };
  const Step answer = [](PowerSim& s) { s.Advance(s.sim.power.answerDelayMs); };
  const Step refuse = [](PowerSim& s) { s.sim.power.Refuse(PowerCall::Suspend); };
  const Step switchWaits = [](PowerSim& s) { s.sim.suite.values().ProfileSwitchPending = true; };
  struct Case {
    const char* name;
    int kind;
    std::vector<Step> before;  // before the request
    std::vector<Step> steps;   // after it; done only after the last
    int doneAtEnd;
  };
  const std::vector<Case> cases = {
      {"a kind that does nothing", 7, {}, {}, 1},
      {"sleep, then the wake-up", 3, {}, {answer, suspend, resume}, 1},
      {"sleep announced before the answer", 3, {}, {suspend, answer, resume}, 1},
      {"automatic wake-up",
       3,
       {},
       {answer, suspend, [](PowerSim& s) { s.power.WMPowerBroadcast(18); }},
       1},
      {"woken while a profile change waits", 3, {}, {answer, suspend, switchWaits, resume}, 1},
      // A wake-up without a sleep does not end it; ten seconds without the sleep do.
      {"accepted, but the computer never sleeps",
       3,
       {},
       {answer, resume, [](PowerSim& s) { s.Advance(9000); }, [](PowerSim& s) { s.Advance(1000); }},
       1},
      {"refused",
       3,
       {refuse},
       {[](PowerSim& s) {
         s.sim.dialogs.ExpectContaining("put to sleep", DialogAnswer::Ok);
         s.Advance(s.sim.power.answerDelayMs);
       }},
       1},
      {"powered off", 0, {}, {answer, answer}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PowerSim s;
    for (const Step& step : c.before)
      step(s);
    int done = 0;
    s.power.PowerAction(c.kind, s.CountDone(done));
    for (const Step& step : c.steps) {
      EXPECT_EQ(done, 0);
      step(s);
    }
    EXPECT_EQ(done, c.doneAtEnd);
    s.Advance(60000);
    EXPECT_EQ(done, c.doneAtEnd);
    EXPECT_EQ(s.sim.dialogs.Pending(), 0u);
  }
}

TEST(PowerControlTest, AnswerAfterThePowerControlWentChangesNothing) {
  SuiteOnSim sim;
  sim.power.Refuse(PowerCall::Suspend);
  {
    // Each on a core of its own, beside the suite's.
    struct LonePowerControl {
      explicit LonePowerControl(SuiteOnSim& on) : ctx(on.Ports(), on.view, on.home.path()) {}
      CoreContext ctx;
      CoreHotkeys hotkeys{ctx};
      PowerControl power{ctx, hotkeys};
    };
    LonePowerControl asking(sim);
    asking.power.PowerAction(PowerControl::kTurnOff);
    LonePowerControl performing(sim);
    performing.power.PowerAction(PowerControl::kSleep);
  }
  sim.timers.Advance(kAnswersArrivedMs);
  EXPECT_EQ(sim.power.PendingAnswers(), 0u);
  EXPECT_EQ(sim.power.requested, std::vector<PowerCall>{PowerCall::Suspend});
  EXPECT_FALSE(sim.suite.main().Ended());
  EXPECT_TRUE(sim.dialogs.Asked().empty());
}

TEST(PowerControlTest, SuspendPausesTheSuiteAndResumeStartsItAgain) {
  struct Case {
    bool sleepShow;
    int resumeEvent;
  };
  for (const Case& c : {Case{true, 7}, Case{false, 7}, Case{true, 18}, Case{false, 18}}) {
    SCOPED_TRACE(std::to_string(c.sleepShow) + " " + std::to_string(c.resumeEvent));
    PowerSim s;
    s.sim.suite.values().SleepShow = c.sleepShow;
    s.sim.suite.main().MoveMainWindow(10, 0);  // the strip is on the screen
    TF_Sleep& window = s.power.Sleep();
    int changes = 0;
    const ports::Subscription counting = window.changed.Subscribe([&changes] { ++changes; });

    EXPECT_EQ(s.power.WMPowerBroadcast(4), 255);
    EXPECT_TRUE(s.power.Sleeping());
    EXPECT_FALSE(s.HotkeysHeld());
    EXPECT_FALSE(s.strip.StatusTimer().Enabled());
    EXPECT_LT(s.sim.suite.main().Left(), 0);
    EXPECT_EQ(window.Visible(), c.sleepShow);
    EXPECT_EQ(window.CurMode(), "COMPUTER IS IN SLEEP MODE");

    EXPECT_EQ(s.power.WMPowerBroadcast(c.resumeEvent), 255);
    EXPECT_FALSE(s.power.Sleeping());
    EXPECT_TRUE(s.HotkeysHeld());
    EXPECT_TRUE(s.strip.StatusTimer().Enabled());
    EXPECT_LT(s.sim.suite.main().Left(), 0);  // the strip stays hidden
    EXPECT_EQ(window.Visible(), c.sleepShow);
    EXPECT_EQ(window.CurMode(),
              c.sleepShow ? "POWER OF COMPUTER WAS RESTORED" : "COMPUTER IS IN SLEEP MODE");
    EXPECT_EQ(changes, c.sleepShow ? 2 : 0);
    EXPECT_FALSE(s.Ended());
    EXPECT_TRUE(s.sim.power.performed.empty());

    window.OKBtnClick();
    EXPECT_FALSE(window.Visible());
  }
}

TEST(PowerControlTest, SystemSleepReachesTheSuiteWhileOtherListenersComeAndGo) {
  PowerSim s;
  s.sim.power.InjectSuspend();
  EXPECT_TRUE(s.power.Sleeping());
  EXPECT_TRUE(s.power.Sleep().Visible());
  s.sim.power.InjectResume();
  EXPECT_FALSE(s.power.Sleeping());
  EXPECT_TRUE(s.HotkeysHeld());
  {
    int heard = 0;
    const ports::Subscription other =
        s.sim.suite.context().sleep.Subscribe([&heard](bool) { ++heard; });
    s.sim.power.InjectSuspend();
    s.sim.power.InjectResume();
    EXPECT_EQ(heard, 2);
  }
  s.sim.power.InjectSuspend();  // the suite still follows the sleep
  EXPECT_TRUE(s.power.Sleeping());
}

TEST(PowerControlTest, EventsOutsideAnActiveProfileOrWithoutSuspendChangeNothing) {
  struct Case {
    const char* name;
    bool profileActive;
    bool switchPending;
    std::vector<int> events;
  };
  const std::vector<Case> cases = {
      {"resume without suspend", true, false, {7, 18}},
      {"other events", true, false, {0, 5, 10, 255}},
      {"profile switch waits", true, true, {4}},
      {"no profile", false, false, {4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PowerSim s;
    SharedValues& v = s.sim.suite.values();
    v.ProfileActive = c.profileActive;
    v.ProfileSwitchPending = c.switchPending;
    v.StartVol = true;
    v.MixID = v.DestID = 0;
    s.sim.mixer.AddDevice("Card");
    s.sim.mixer.AddDestination(0, "Master", {0, 0});
    for (int event : c.events)
      EXPECT_EQ(s.power.WMPowerBroadcast(event), 255);
    EXPECT_FALSE(s.power.Sleeping());
    EXPECT_TRUE(s.HotkeysHeld());
    EXPECT_TRUE(s.strip.StatusTimer().Enabled());
    EXPECT_FALSE(s.power.Sleep().Visible());
    EXPECT_TRUE(s.sim.mixer.Writes().empty());
  }

  // A wake-up while a profile change waits for its password leaves the suite asleep.
  PowerSim s;
  s.power.WMPowerBroadcast(4);
  s.sim.suite.values().ProfileSwitchPending = true;
  s.power.WMPowerBroadcast(7);
  EXPECT_TRUE(s.power.Sleeping());
  EXPECT_FALSE(s.HotkeysHeld());
  EXPECT_EQ(s.power.Sleep().CurMode(), "COMPUTER IS IN SLEEP MODE");
}

TEST(PowerControlTest, ResumeSetsTheStartVolumeOfTheChosenLine) {
  struct Case {
    bool startVol;
    int startValue;
    int destID;
    std::optional<int> channelValue;
  };
  const std::vector<Case> cases = {
      {true, 50, 0, 33422},
      {true, 99, 0, 65535},
      {false, 50, 0, std::nullopt},
      {true, 50, -1, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.startValue) + " dest " + std::to_string(c.destID));
    PowerSim s;
    SharedValues& v = s.sim.suite.values();
    v.StartVol = c.startVol;
    v.StartValue = c.startValue;
    v.MixID = 0;
    v.DestID = c.destID;
    s.sim.mixer.AddDevice("Card");
    s.sim.mixer.AddDestination(0, "Master", {100, 200});
    s.power.WMPowerBroadcast(4);
    EXPECT_TRUE(s.sim.mixer.Writes().empty());
    s.power.WMPowerBroadcast(7);
    if (c.channelValue) {
      ASSERT_EQ(s.sim.mixer.Writes().size(), 1u);
      EXPECT_EQ(s.sim.mixer.Writes()[0],
                (sim::SimMixer::Write{0, 0, -1, {*c.channelValue, *c.channelValue}}));
    } else {
      EXPECT_TRUE(s.sim.mixer.Writes().empty());
    }
  }
}

// The whole suite, started and with its profile loaded, powered off from the menu.
class PowerOffScenario : public StartupScenario {};

TEST_F(PowerOffScenario, AllowedPowerOffSavesTheProfileThenEnds) {
  Install();
  auto process = NewProcess();
  process->StartUp();
  process->Advance(400);  // the 200 ms timer starts the companion
  ASSERT_TRUE(process->values().ProfileActive);
  PowerControl& power = process->suite.power();
  std::filesystem::remove(ProfileFile("status.hif"));

  process->dialogs.Expect(kPowerOffQuestion, DialogAnswer::Yes);
  power.MenuClick(menu_item::kPowerOff);
  process->Advance(kAnswersArrivedMs);
  EXPECT_EQ(process->power.performed, std::vector<PowerCall>{PowerCall::PowerOff});
  EXPECT_TRUE(process->Ended());
  EXPECT_EQ(process->view.endProcessCalls, 1);
  EXPECT_TRUE(Plain("status").ValueExists("POSITION", "X"));
  EXPECT_TRUE(Plain("status").ValueExists("WPOS", "PCAY"));
  EXPECT_TRUE(process->suite.lifetime().ClosingAllowed);
  EXPECT_EQ(process->suite.hotkeys().AtomId("PELN_MENU"), 0);
  EXPECT_TRUE(PlainCopiesLeft().empty());
}

}  // namespace
}  // namespace pelorin
