#include "core/BackgroundTimers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/SuiteOnSim.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using testing::SuiteOnSim;

constexpr const char* kCompanionMissing =
    "Warning! Required file \"CSTDR.EXE\" not found! Continue of execution is not possible.";

long Fired(const sim::SimTimers& timers, const std::string& name) {
  return std::count(timers.FiredLog().begin(), timers.FiredLog().end(), name);
}

// Ticks of the three background timers (the applets' own timers run besides them).
long BackgroundTicks(const sim::SimTimers& timers) {
  return Fired(timers, "HiTimer") + Fired(timers, "ExTimer") + Fired(timers, "LowTimer");
}

TEST(BackgroundTimersTest, RunOnlyOnceStartedAndExIntervalZeroNeverFires) {
  struct Case {
    int exIntervalSeconds;
    long exTicksIn10s;
  };
  for (const Case c : {Case{2, 5}, Case{0, 0}, Case{-5, 0}, Case{3'000'000, 0}}) {
    SCOPED_TRACE(c.exIntervalSeconds);
    SuiteOnSim sim;
    sim.timers.KeepFiredLog(true);
    BackgroundTimers& timers = sim.suite.timers();
    timers.SetExInterval(c.exIntervalSeconds);
    sim.timers.Advance(10'000);
    EXPECT_EQ(BackgroundTicks(sim.timers), 0);

    timers.StartHiAndEx();
    timers.StartLow();
    sim.timers.Advance(10'000);
    EXPECT_EQ(Fired(sim.timers, "HiTimer"), 50);
    EXPECT_EQ(Fired(sim.timers, "LowTimer"), 10);
    EXPECT_EQ(Fired(sim.timers, "ExTimer"), c.exTicksIn10s);

    timers.StopAll();
    sim.timers.ClearFiredLog();
    sim.timers.Advance(10'000);
    EXPECT_EQ(BackgroundTicks(sim.timers), 0);
  }
}

TEST(BackgroundTimersTest, CompanionIsStartedThenGreetedOnce) {
  SuiteOnSim sim;
  sim.companion.windowAppearsOnStart = false;
  sim.suite.timers().StartHiAndEx();

  sim.timers.Advance(200);
  EXPECT_EQ(sim.companion.starts, 1);
  EXPECT_TRUE(sim.suite.timers().CompanionStarted());
  sim.timers.Advance(1000);  // its window takes a while
  EXPECT_EQ(sim.companion.starts, 1);
  EXPECT_TRUE(sim.companion.posted.empty());

  sim.companion.windowExists = true;
  sim.timers.Advance(1000);
  EXPECT_EQ(sim.companion.posted,
            (std::vector<sim::SimCompanion::Message>{ports::kCompanionGreeting}));
  EXPECT_FALSE(sim.suite.timers().CompanionStarted());

  // A companion that went away is started again, and greeted again.
  sim.companion.windowExists = false;
  sim.companion.windowAppearsOnStart = true;
  sim.timers.Advance(400);
  EXPECT_EQ(sim.companion.starts, 2);
  EXPECT_EQ(sim.companion.posted.size(), 2u);
}

TEST(BackgroundTimersTest, MissingCompanionProgramEndsTheSuite) {
  SuiteOnSim sim;
  sim.companion.programExists = false;
  // The message waits two seconds for the user: the 200 ms timer does not run again
  // meanwhile (a second message would be an unexpected question).
  sim.dialogs.Expect(kCompanionMissing, DialogAnswer::Ok, 2000);
  sim.suite.timers().StartHiAndEx();
  sim.timers.Advance(200);

  ASSERT_EQ(sim.dialogs.Asked().size(), 1u);
  EXPECT_EQ(sim.dialogs.Asked()[0].caption, "Pelorin Security System");
  EXPECT_EQ(sim.dialogs.Asked()[0].icon, ports::DialogIcon::Error);
  EXPECT_TRUE(sim.suite.main().Ended());
  EXPECT_EQ(sim.view.endProcessCalls, 1);
  EXPECT_EQ(sim.companion.starts, 0);
  sim.timers.Advance(5000);
  EXPECT_EQ(sim.dialogs.Asked().size(), 1u);
  EXPECT_EQ(sim.timers.ActiveCount(), 0);
}

TEST(BackgroundTimersTest, AutostartEntryIsBackWithinOneSecond) {
  struct Case {
    const char* name;
    bool wanted;
    int writes;
  };
  const std::vector<Case> cases = {
      {"removed from outside", true, 1},
      {"never wanted", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SuiteOnSim sim;
    sim.suite.values().AutostartWanted = c.wanted;
    sim.desktop.autostartExists = false;
    sim.suite.timers().StartLow();
    sim.timers.Advance(1000);
    EXPECT_EQ(sim.desktop.autostartWrites, c.writes);
    sim.timers.Advance(3000);  // once back, it stays and is not written again
    EXPECT_EQ(sim.desktop.autostartWrites, c.writes);
  }
}

TEST(BackgroundTimersTest, SecondTickSetsTitleAndTaskbarButton) {
  SuiteOnSim sim;
  sim.view.taskbarButton = true;
  sim.suite.timers().StartLow();
  sim.timers.Advance(1000);
  EXPECT_EQ(sim.view.title, "Pelorin");
  EXPECT_FALSE(sim.view.taskbarButton);  // no applet window is open
}

TEST(BackgroundTimersTest, DeactivationRaisesTheStripOnlyWhileOnScreen) {
  SuiteOnSim sim;
  sim.suite.timers().ApplicationDeactivated();
  EXPECT_EQ(sim.view.raises, 0);  // parked off screen
  sim.suite.main().MoveMainWindow(0, 0);
  sim.suite.timers().ApplicationDeactivated();
  EXPECT_EQ(sim.view.raises, 1);
}

}  // namespace
}  // namespace pelorin
