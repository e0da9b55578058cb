#include <gtest/gtest.h>

#include "organizer/OrganizerAlone.h"

namespace pelorin {
namespace {

using testing::OrganizerAlone;
using testing::OrgText;

struct PlanCase {
  const char* name;
  ports::LocalTime now;
  std::string entry;  // the keys of entry 0
  bool monthRule;     // asked for, with DefaultMonth on
  const char* nextTime;
  const char* nextDate;
  bool messageOff = false;
};

// "Date=1\nTime=1\n" with the day, month, hour and minute.
std::string At(const char* day, const char* month, const char* hour, const char* minute) {
  return std::string("Date=1\nTime=1\nDayX=") + day + "\nMonthX=" + month + "\nHourX=" + hour +
         "\nMinuteX=" + minute + "\n";
}

TEST(ScheduleEntryTest, PlansTheNextOccurrenceOfAnEntry) {
  const std::vector<PlanCase> cases = {
      {"a past date every 7 days catches up with today; its time has passed",
       {2026, 3, 29, 10, 0},
       At("15", "03", "09", "00") + "EveryDay=7\n",
       false,
       "1000",
       "2903"},
      {"the same entry a day later lies in April",
       {2026, 3, 30, 10, 0},
       At("15", "03", "09", "00") + "EveryDay=7\n",
       false,
       "0900",
       "0504"},
      {"February has 28 days",
       {2028, 3, 1, 10, 0},
       At("25", "02", "08", "00") + "EveryDay=5\n",
       false,
       "0800",
       "0203"},
      {"one step into January and no further",
       {2026, 12, 30, 10, 0},
       At("28", "12", "08", "00") + "EveryDay=7\n",
       false,
       "0800",
       "0401"},
      {"a huge day repetition takes a single step",
       {2026, 3, 29, 10, 0},
       At("15", "03", "08", "00") + "EveryDay=1000000000\n",
       false,
       "0800",
       "2503"},
      {"an undated entry keeps its time, even when it has passed",
       {2026, 1, 10, 9, 0},
       "Date=0\nTime=1\nHourX=08\nMinuteX=00\n",
       false,
       "0800",
       "1001"},
      {"an entry without a time is due now",
       {2026, 1, 10, 9, 7},
       "Date=1\nTime=0\nDayX=10\nMonthX=01\nHourX=15\n",
       false,
       "0907",
       "1001"},
      {"later today keeps its time",
       {2026, 1, 10, 9, 0},
       At("10", "01", "15", "30"),
       false,
       "1530",
       "1001"},
      {"a past date without repetition keeps its date",
       {2026, 3, 10, 9, 0},
       At("15", "02", "08", "00"),
       false,
       "0800",
       "1502"},
      {"the month rule drops a date of an earlier month",
       {2026, 3, 10, 9, 0},
       At("15", "02", "08", "00"),
       true,
       "0800",
       "9999"},
      {"the month rule keeps a later month",
       {2026, 3, 10, 9, 0},
       At("15", "04", "08", "00"),
       true,
       "0800",
       "1504"},
      {"repeat until 12:00, planned at 11:59, keeps a later time",
       {2026, 1, 10, 11, 59},
       At("10", "01", "14", "00") + "PeriodT=1\nPeriodHour=12\nPeriodMin=00\n",
       false,
       "1400",
       "1001"},
      {"repeat until 12:00, planned at 12:00",
       {2026, 1, 10, 12, 0},
       At("10", "01", "14", "00") + "PeriodT=1\nPeriodHour=12\nPeriodMin=00\n",
       false,
       "9999",
       "1001"},
      {"repeat up to a passed date",
       {2026, 3, 10, 9, 0},
       At("01", "03", "08", "00") + "EveryDay=1\nPeriodE=1\nPeriodDay=05\nPeriodMonth=03\n",
       false,
       "0900",
       "9999"},
      {"the catch-up lands after the up-to date",
       {2026, 3, 30, 10, 0},
       At("15", "03", "09", "00") + "EveryDay=7\nPeriodE=1\nPeriodDay=01\nPeriodMonth=04\n",
       false,
       "0900",
       "9999"},
      {"the catch-up lands on the up-to date",
       {2026, 3, 30, 10, 0},
       At("15", "03", "09", "00") + "EveryDay=7\nPeriodE=1\nPeriodDay=05\nPeriodMonth=04\n",
       false,
       "0900",
       "0504"},
      {"a completed entry is switched off",
       {2026, 1, 10, 9, 0},
       At("10", "01", "15", "30") + "Enabled=0\n",
       false,
       "1530",
       "1001",
       true},
      {"hand-made values are brought into the editor's range",
       {2026, 1, 10, 9, 0},
       "Date=1\nTime=1\nDayX=00\nMonthX=13\nHourX=ab\nMinuteX=75\n",
       false,
       "0059",
       "0112"},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(c.name);
    OrganizerAlone sim;
    sim.clock.Set(c.now);
    sim.WriteOrg(OrgText("DefaultMonth=1\n", {c.entry}));
    sim.schedule.ReadSettings();
    sim.schedule.ScheduleEntry(0, c.monthRule);
    EXPECT_EQ(sim.Row(0).NextTime, c.nextTime);
    EXPECT_EQ(sim.Row(0).NextDate, c.nextDate);
    EXPECT_EQ(sim.Row(0).MessageOff, c.messageOff);
  }
}

TEST(ScheduleEntryTest, ReinitializationIgnoresTheUntilTimeAndRowsWithoutEntries) {
  OrganizerAlone sim;
  sim.SetClock(2026, 1, 10, 12, 30);
  sim.WriteOrg(OrgText("Count=3\n", {At("10", "01", "14", "00") + "PeriodT=1\nPeriodHour=12\n"}));
  sim.Start();
  EXPECT_EQ(sim.Row(0).NextTime, "1400");
  // Count claims entries whose sections are missing: their rows stay empty.
  EXPECT_EQ(sim.Row(1).NextDate, "9999");
  EXPECT_TRUE(sim.Row(1).MessageOff);

  sim.schedule.RescheduleAfterSleep();  // the wake-up plans with every limit
  EXPECT_EQ(sim.Row(0).NextTime, "9999");
}

}  // namespace
}  // namespace pelorin
