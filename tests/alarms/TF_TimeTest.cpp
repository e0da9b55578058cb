#include "alarms/TF_Time.h"

#include <gtest/gtest.h>

#include "alarms/AlarmsOnSim.h"
#include "common/Text.h"

namespace pelorin {
namespace {

using testing::AlarmsOnSim;
using Arrow = TF_Time::Arrow;

class TF_TimeTest : public ::testing::Test {
 protected:
  TF_Time& time() { return sim.alarms.Duzuzoze(); }
  AlarmsOnSim sim;
};

TEST_F(TF_TimeTest, TheClockShowsTwelveOrTwentyFourHoursAndTheFlyPanelsText) {
  sim.suite.values().FlyPanel.Clock = true;
  sim.suite.values().FlyPanel.ClockFlash = false;
  struct Case {
    bool mode12;
    int hour, minute;
    const char* hours;
    bool am, pm;
    const char* flyPanel;
  };
  const std::vector<Case> cases = {
      {true, 0, 30, "12", true, false, "<12:30am>"},
      {true, 12, 30, "12", false, true, "<12:30pm>"},
      {true, 21, 5, " 9", false, true, "<09:05pm>"},
      {true, 9, 5, " 9", true, false, "<09:05am>"},
      {false, 7, 3, " 7", false, false, "<<07:03>>"},
      {false, 23, 59, "23", false, false, "<<23:59>>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flyPanel);
    if (time().Mode12() != c.mode12) time().AMClick();
    sim.SetClock(2026, 1, 5, c.hour, c.minute, 10);
    sim.timers.Advance(TF_Time::kClockMs);
    EXPECT_EQ(time().ClockText().substr(0, 2), c.hours);
    EXPECT_EQ(time().ClockText().substr(3), PadNumber(c.minute, 2, '0'));
    EXPECT_EQ(time().AmLit(), c.am);
    EXPECT_EQ(time().PmLit(), c.pm);
    EXPECT_EQ(time().FlyPanelClock(), c.flyPanel);
  }
  // The mode is stored for the next profile load.
  EXPECT_FALSE(SettingsFile(sim.ProfileFile("clock")).ReadBool("SYSTEM", "Mode12", true));
}

TEST_F(TF_TimeTest, TheSeparatorBlinksDifferentlyInEachHalfOfTheMinute) {
  sim.SetClock(2026, 1, 5, 10, 0, 0);
  std::string firstHalf, secondHalf;
  for (int tick = 0; tick < 4; ++tick) {
    sim.timers.Advance(TF_Time::kClockMs);
    firstHalf += time().ClockText()[2];
  }
  sim.SetClock(2026, 1, 5, 10, 0, 40);
  for (int tick = 0; tick < 4; ++tick) {
    sim.timers.Advance(TF_Time::kClockMs);
    secondHalf += time().ClockText()[2];
  }
  EXPECT_TRUE(firstHalf == " . ." || firstHalf == ". . ") << firstHalf;
  EXPECT_TRUE(secondHalf == ".:.:" || secondHalf == ":.:.") << secondHalf;
}

TEST_F(TF_TimeTest, TheFlyPanelsClockFlashesOnlyWhenAskedAndNeedsAnActiveProfile) {
  sim.suite.values().FlyPanel.Clock = true;
  sim.suite.values().FlyPanel.ClockFlash = true;
  sim.SetClock(2026, 1, 5, 7, 3, 10);
  sim.timers.Advance(TF_Time::kClockMs);
  EXPECT_EQ(time().FlyPanelClock(), "<<07" + std::string(1, time().ClockText()[2]) + "03>>");
  sim.suite.values().ProfileActive = false;
  sim.SetClock(2026, 1, 5, 8, 0, 10);
  sim.timers.Advance(TF_Time::kClockMs);
  EXPECT_EQ(time().FlyPanelClock().substr(2, 2), "07");  // kept, not refreshed
}

TEST_F(TF_TimeTest, TheStopwatchCountsFreezesStopsAndResets) {
  time().Button1Click();
  sim.timers.Advance(20 * TF_Time::kStopwatchMs);
  EXPECT_EQ(time().StopwatchText(), "00:00:01.00");
  time().Button3Click();  // freeze: counting goes on behind the display
  sim.timers.Advance(20 * TF_Time::kStopwatchMs);
  EXPECT_EQ(time().StopwatchText(), "00:00:01.00");
  time().Button2Click();  // stop: the count shows
  EXPECT_EQ(time().StopwatchText(), "00:00:02.00");
  EXPECT_FALSE(time().StopwatchRunning());
  time().Button1Click();  // goes on from the display
  sim.timers.Advance(2 * TF_Time::kStopwatchMs);
  time().Button2Click();
  EXPECT_EQ(time().StopwatchText(), "00:00:02.10");
  time().Button2Click();  // reset
  EXPECT_EQ(time().StopwatchText(), "00:00:00.00");
}

TEST_F(TF_TimeTest, ACountdownRingsOneSecondAfterItShowsZero) {
  // Five seconds set with the arrow.
  time().ArrowDown(Arrow::kButton10);
  sim.timers.Advance(1);
  time().ArrowUp();
  for (int i = 0; i < 4; ++i) {
    time().ArrowDown(Arrow::kButton10);
    sim.timers.Advance(1);
    time().ArrowUp();
  }
  ASSERT_EQ(time().CountdownText(0), "000:05");
  time().Button4Click();
  sim.timers.Advance(5000);
  EXPECT_EQ(time().CountdownText(0), "000:00");
  EXPECT_FALSE(sim.alarms.Ring().Ringing());
  sim.timers.Advance(1000);
  EXPECT_TRUE(sim.alarms.Ring().Ringing());
  EXPECT_FALSE(time().CountdownRunning(0));
  const auto plays = sim.Plays("ring");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].file, (sim.home / "System/Snd/C_Remind2.wav").string());
  EXPECT_EQ(plays[0].repeat, ports::Repeat::Loop);
  time().Button5Click();  // stopped timer: reset, and the ring stops
  EXPECT_FALSE(sim.alarms.Ring().Ringing());
  EXPECT_EQ(time().CountdownText(0), "000:00");
}

TEST_F(TF_TimeTest, TimerTwoRingsItsOwnFileWithItsLoopChoice) {
  const auto own = sim.MakeWave("timer2.wav");
  sim.WriteClock("[SYSTEM]\r\nRing2=4\r\nFilename2=" + own.string() +
                 "\r\nLoop2=1\r\nUsePC2=1\r\nPCFQ2=5000\r\nPCDU2=250\r\n");
  time().Button6Click();  // at 000:00: rings at its first tick
  sim.timers.Advance(1000);
  ASSERT_TRUE(sim.alarms.Ring().Ringing());
  const auto plays = sim.Plays("ring");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].file, own.string());
  EXPECT_EQ(plays[0].repeat, ports::Repeat::Loop);
  EXPECT_EQ(sim.alarms.Ring().BeepFrequency, 5000);
  EXPECT_EQ(sim.alarms.Ring().BeepDuration, 100);
  EXPECT_TRUE(sim.alarms.Ring().UsePcSpeaker);
}

TEST_F(TF_TimeTest, AHeldArrowWrapsAndSpeedsUp) {
  // 998 minutes: 998 steps up would take long; down from 0 wraps to 999 first.
  time().ArrowDown(Arrow::kButton7);
  sim.timers.Advance(1);
  time().ArrowUp();
  time().ArrowDown(Arrow::kButton7);
  sim.timers.Advance(1);
  time().ArrowUp();
  ASSERT_EQ(time().CountdownText(0), "998:00");

  sim.timers.KeepFiredLog(true);
  time().ArrowDown(Arrow::kButton8);
  std::vector<std::string> shown;
  std::vector<std::int64_t> at;
  const std::int64_t pressed = sim.clock.MonotonicMs();
  std::string last = time().CountdownText(0);
  for (int ms = 0; ms < 2000; ++ms) {
    sim.timers.Advance(1);
    if (time().CountdownText(0) != last) {
      last = time().CountdownText(0);
      shown.push_back(last);
      at.push_back(sim.clock.MonotonicMs() - pressed);
    }
  }
  time().ArrowUp();
  ASSERT_GE(shown.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 3),
            (std::vector<std::string>{"999:00", "000:00", "001:00"}));
  EXPECT_EQ(std::vector<std::int64_t>(at.begin(), at.begin() + 6),
            (std::vector<std::int64_t>{1, 501, 751, 1001, 1151, 1301}));
  const std::string held = time().CountdownText(0);
  sim.timers.Advance(1000);
  EXPECT_EQ(time().CountdownText(0), held);  // released: no more steps

  // Timer 2's seconds, also while it runs.
  time().Button6Click();
  time().ArrowDown(Arrow::kButton14);
  sim.timers.Advance(1);
  time().ArrowUp();
  EXPECT_EQ(time().CountdownText(1), "000:59");
}

}  // namespace
}  // namespace pelorin
