#include <gtest/gtest.h>

#include <algorithm>

#include "organizer/OrganizerAlone.h"

namespace pelorin {
namespace {

using testing::OrganizerAlone;
using testing::OrgText;

constexpr std::int64_t kSecondMs = 1000;
constexpr std::int64_t kMinuteMs = 60 * kSecondMs;
constexpr std::int64_t kHourMs = 60 * kMinuteMs;

struct FiringCase {
  const char* name;
  ports::LocalTime start;
  std::string entry;
  std::int64_t runMs;
  std::vector<std::string> pops;  // "DD.MM HH:MM"
};

TEST(OrganizerCheckTest, MessagesPopUpAtTheirOccurrencesOverVirtualTime) {
  const std::vector<FiringCase> cases = {
      {"23:30 every 45 minutes without day repetition stops at midnight",
       {2026, 1, 10, 23, 0},
       "Date=1\nTime=1\nDayX=10\nMonthX=01\nHourX=23\nMinuteX=30\nRepeat=45\nRepeatMin=1\n",
       26 * kHourMs,
       {"10.01 23:30"}},
      {"22:00 every 3 hours and every day rings through the night",
       {2026, 1, 10, 21, 0},
       "Date=1\nTime=1\nDayX=10\nMonthX=01\nHourX=22\nMinuteX=00\nRepeat=3\nEveryDay=1\n",
       30 * kHourMs,
       {"10.01 22:00", "11.01 01:00", "11.01 04:00", "11.01 07:00", "11.01 10:00", "11.01 13:00",
        "11.01 16:00", "11.01 19:00", "11.01 22:00", "12.01 01:00"}},
      {"an undated 08:00 entry does not catch up when the suite starts at 09:00",
       {2026, 1, 10, 9, 0},
       "Date=0\nTime=1\nHourX=08\nMinuteX=00\n",
       24 * kHourMs,
       {"11.01 08:00"}},
      {"an entry without a time pops up at once, then once a day",
       {2026, 1, 10, 9, 0},
       "Date=0\nTime=0\n",
       24 * kHourMs,
       {"10.01 09:00", "11.01 00:00"}},
      {"a past dated entry every 7 days pops up at the first check",
       {2026, 3, 29, 10, 0},
       "Date=1\nTime=1\nDayX=15\nMonthX=03\nHourX=09\nMinuteX=00\nEveryDay=7\n",
       kHourMs,
       {"29.03 10:00"}},
      {"every 30 minutes until 12:00 stops before 12:00",
       {2026, 1, 10, 9, 0},
       "Date=0\nTime=1\nHourX=10\nMinuteX=00\nRepeat=30\nRepeatMin=1\nPeriodT=1\nPeriodHour=12\n"
       "PeriodMin=00\n",
       4 * kHourMs,
       {"10.01 10:00", "10.01 10:30", "10.01 11:00", "10.01 11:30"}},
      {"a repetition does not run on past the up-to date",
       {2026, 1, 10, 22, 0},
       "Date=1\nTime=1\nDayX=10\nMonthX=01\nHourX=23\nMinuteX=00\nRepeat=30\nRepeatMin=1\n"
       "EveryDay=1\nPeriodE=1\nPeriodDay=10\nPeriodMonth=01\n",
       3 * kHourMs,
       {"10.01 23:00", "10.01 23:30"}},
      {"a completed entry never pops up",
       {2026, 1, 10, 9, 0},
       "Date=0\nTime=0\nEnabled=0\n",
       24 * kHourMs,
       {}},
  };
  for (const FiringCase& c : cases) {
    SCOPED_TRACE(c.name);
    OrganizerAlone sim;
    sim.clock.Set(c.start);
    sim.WriteOrg(OrgText("", {"TITLE=Message\n" + c.entry}));
    sim.Start();
    sim.timers.Advance(c.runMs);
    EXPECT_EQ(sim.PopTimes(), c.pops);
  }
}

TEST(OrganizerCheckTest, AfterTheLastRepetitionOfTheDayTheRowHoldsNoDate) {
  OrganizerAlone sim;
  sim.SetClock(2026, 1, 10, 23, 29, 58);
  sim.WriteOrg(OrgText(
      "", {"Date=1\nTime=1\nDayX=10\nMonthX=01\nHourX=23\nMinuteX=30\nRepeat=45\nRepeatMin=1\n"}));
  sim.Start();
  sim.timers.Advance(10 * kSecondMs);
  ASSERT_EQ(sim.popped.size(), 1u);
  EXPECT_EQ(sim.Row(0).NextTime, "0015");
  EXPECT_EQ(sim.Row(0).NextDate, "9999");
}

struct IntervalCase {
  const char* interval;  // the SYSTEM line
  int savedInterval;
  std::int64_t runMs;
  int checks;
  bool runningAfter;
};

TEST(OrganizerCheckTest, TheCheckRunsAtTheConfiguredPeriod) {
  const std::vector<IntervalCase> cases = {
      {"", 5000, 10 * kSecondMs, 2, true},  // at once, then 5 s later
      {"Interval=0\n", 0, 10 * kMinuteMs, 1, false},
      {"Interval=1\n", 1, kSecondMs, 1000, true},
      {"Interval=30000\n", 30000, kMinuteMs, 2, true},
      {"Interval=-5\n", 5000, 10 * kSecondMs, 2, true},
      {"Interval=40000\n", 5000, 10 * kSecondMs, 2, true},
  };
  for (const IntervalCase& c : cases) {
    SCOPED_TRACE(c.interval);
    OrganizerAlone sim;
    sim.WriteOrg(OrgText(c.interval, {}));
    sim.timers.KeepFiredLog(true);
    sim.Start();
    EXPECT_EQ(sim.schedule.SavedInterval(), c.savedInterval);
    sim.timers.Advance(c.runMs);
    const auto& log = sim.timers.FiredLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "S_Timer"), c.checks);
    EXPECT_EQ(sim.schedule.TimerRunning(), c.runningAfter);
  }
}

TEST(OrganizerCheckTest, WithIntervalZeroEachReinitializationChecksOnce) {
  OrganizerAlone sim;
  sim.SetClock(2026, 1, 10, 9, 0);
  sim.WriteOrg(OrgText("Interval=0\n", {"TITLE=Now\nDate=0\nTime=0\n"}));
  sim.Start();
  sim.timers.Advance(kHourMs);
  EXPECT_EQ(sim.PopTimes(), std::vector<std::string>{"10.01 09:00"});
  EXPECT_EQ(sim.schedule.LastDate(), "10.01.2026");

  sim.timers.Advance(24 * kHourMs);  // no check sees the next day
  EXPECT_EQ(sim.schedule.LastDate(), "10.01.2026");
  sim.schedule.ScheduleAll();  // the "Re-initialization" menu item
  sim.timers.Advance(kHourMs);
  EXPECT_EQ(sim.PopTimes(), (std::vector<std::string>{"10.01 09:00", "11.01 10:00"}));
}

TEST(OrganizerCheckTest, UnderASubstitutedDateTheCheckDoesNothing) {
  OrganizerAlone sim;
  sim.SetClock(2026, 1, 10, 9, 0);
  sim.WriteOrg(OrgText(
      "WelcomeScreen=1\n",
      {"TITLE=Now\nDate=0\nTime=0\n", "TITLE=Soon\nDate=0\nTime=1\nHourX=09\nMinuteX=02\n"}));
  sim.ctx.values.DateIllusion = true;
  sim.Start();
  sim.timers.Advance(kMinuteMs);
  EXPECT_TRUE(sim.popped.empty());
  EXPECT_EQ(sim.welcomes, 0);
  EXPECT_EQ(sim.schedule.LastDate(), "");
  EXPECT_EQ(sim.schedule.SavedInterval(), 5000);
  EXPECT_TRUE(sim.schedule.TimerRunning());

  sim.ctx.values.DateIllusion = false;
  sim.timers.Advance(2 * kMinuteMs);
  EXPECT_EQ(sim.PopTimes(), std::vector<std::string>{"10.01 09:02"});
  EXPECT_EQ(sim.welcomes, 1);
  EXPECT_EQ(sim.schedule.LastDate(), "10.01.2026");
}

TEST(OrganizerCheckTest, TheChangeOfDaySwitchesEnabledMessagesBackOn) {
  OrganizerAlone sim;
  sim.SetClock(2026, 1, 10, 23, 0);
  // Entries of a June day, which do not come due now.
  const std::string june = "Date=1\nTime=1\nDayX=01\nMonthX=06\n";
  sim.WriteOrg(OrgText("", {june + "Enabled=1\n", june + "Enabled=0\n", june}));
  sim.Start();
  sim.timers.Advance(kSecondMs);
  EXPECT_EQ(sim.dayChanges, 1);  // the first check after the start
  // Messages switched off whose next occurrence is tomorrow morning, so that the
  // change of day does not plan them afresh.
  for (int n = 0; n < 3; ++n)
    sim.schedule.Table()[n] = {"0800", "1101", true};

  sim.timers.Advance(10 * kHourMs);
  EXPECT_EQ(sim.dayChanges, 2);
  ASSERT_EQ(sim.popped.size(), 1u);
  EXPECT_EQ(sim.popped[0].entry, 0);
  EXPECT_EQ(sim.popped[0].when, "11.01 08:00");
  EXPECT_TRUE(sim.Row(1).MessageOff);
  EXPECT_TRUE(sim.Row(2).MessageOff);  // here a missing Enabled counts as completed
}

TEST(OrganizerCheckTest, TheWelcomeWindowIsPreparedOnceADayAfterItsTime) {
  OrganizerAlone sim;
  sim.SetClock(2026, 1, 10, 6, 58);
  sim.WriteOrg(
      OrgText("WelcomeScreen=1\nWelcomeTime=07:00\n",
              {"TITLE=Call the bank\nDate=0\nTime=1\nHourX=09\nMinuteX=30\n",
               "TITLE=Birthday\nDate=0\nTime=0\nEnabled=0\n", "TITLE=Birthday\nDate=0\nTime=0\n"}));
  sim.Start();
  sim.timers.Advance(2 * kMinuteMs + 59 * kSecondMs);  // 07:00:59
  EXPECT_EQ(sim.welcomes, 0);
  sim.timers.Advance(10 * kSecondMs);
  EXPECT_EQ(sim.welcomes, 1);
  EXPECT_EQ(sim.Org().ReadString("SYSTEM", "WelcomeDate", ""), "10.01.2026");
  EXPECT_EQ(sim.welcome.Lines(),
            (std::vector<std::string>{"Call the bank.....09:30", "Birthday................"}));
  sim.timers.Advance(TF_Welcome::kTimer1Ms);
  EXPECT_TRUE(sim.welcome.Visible());

  sim.timers.Advance(12 * kHourMs);
  EXPECT_EQ(sim.welcomes, 1);
  sim.timers.Advance(12 * kHourMs);  // 07:01 of the next day
  EXPECT_EQ(sim.welcomes, 2);
  EXPECT_EQ(sim.Org().ReadString("SYSTEM", "WelcomeDate", ""), "11.01.2026");
}

TEST(OrganizerCheckTest, TheCheckBacksUpOnlyWhatItWrote) {
  OrganizerAlone sim;
  sim.ctx.custodo.SetCustodo(true);
  sim.SetClock(2026, 1, 10, 7, 30);
  sim.WriteOrg(OrgText("WelcomeScreen=1\n", {"TITLE=Entry\n"}));
  const std::filesystem::path backup = sim.ctx.layout.SettingsBackupFile("Master", "org");
  std::filesystem::create_directories(backup.parent_path());  // as the installation makes it
  sim.Start();
  sim.timers.Advance(kSecondMs);
  ASSERT_EQ(sim.welcomes, 1);
  EXPECT_EQ(testing::ReadBytes(backup), testing::ReadBytes(sim.OrgFile()));

  // A change made outside the suite is not copied over the backup by later checks, so
  // that the damage check can still offer it.
  const std::string written = testing::ReadBytes(sim.OrgFile());
  sim.WriteOrg(written + "[1]\nTITLE=Not by the suite\n");
  sim.timers.Advance(kMinuteMs);
  EXPECT_EQ(testing::ReadBytes(backup), written);
}

TEST(OrganizerCheckTest, TheListIsRefreshedOnceASecondWhileItShows) {
  struct Case {
    const char* name;
    bool shown;
    int count;
    int refreshes;
  };
  const std::vector<Case> cases = {
      {"shown", true, 1, 3}, {"hidden", false, 1, 0}, {"no entries", true, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OrganizerAlone sim;
    sim.SetClock(2026, 1, 10, 9, 0, 0);
    sim.WriteOrg(OrgText("Interval=100\nCount=" + std::to_string(c.count) + "\n", {}));
    sim.listShown = c.shown;
    sim.Start();
    sim.timers.Advance(2950);  // seconds 0, 1 and 2
    EXPECT_EQ(sim.listRefreshes, c.refreshes);
  }
}

TEST(OrganizerCheckTest, NothingIsPlannedOrFiredBeyondTheTable) {
  struct Case {
    const char* name;
    int sections;
    int count;
    std::size_t pops;
  };
  const std::vector<Case> cases = {
      {"Count far beyond the sections present", 3, 1000000, 3},
      {"more entries than the check looks at", ScheduleTable::kRows + 7, 100000,
       ScheduleTable::kCheckedRows},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OrganizerAlone sim;
    sim.SetClock(2026, 1, 10, 9, 0);
    std::string text = "[SYSTEM]\nCount=" + std::to_string(c.count) + "\n";
    for (int n = 0; n < c.sections; ++n)
      text += "[" + std::to_string(n) + "]\nTITLE=" + std::to_string(n) + "\nDate=0\nTime=0\n";
    sim.WriteOrg(text);
    sim.Start();
    sim.timers.Advance(kSecondMs);
    ASSERT_EQ(sim.popped.size(), c.pops);
    EXPECT_EQ(sim.popped.back().entry, static_cast<int>(c.pops) - 1);
    EXPECT_EQ(sim.popup.MesList().size(), c.pops);
  }
}

}  // namespace
}  // namespace pelorin
