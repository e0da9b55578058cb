#include <gtest/gtest.h>

#include "alarms/DuzuzozeCounts.h"
#include "alarms/ReminderFile.h"

namespace pelorin {
namespace {

TEST(AlarmTextsTest, DaysTextNamesTheDaysOrSaysAllOrNone) {
  const std::array<bool, 7> none{};
  const std::array<bool, 7> all{true, true, true, true, true, true, true};
  const std::array<bool, 7> monWed{true, false, true, false, false, false, false};
  const std::array<bool, 7> weekend{false, false, false, false, false, true, true};
  struct Case {
    std::array<bool, 7> days;
    bool except;
    const char* text;
  };
  for (const Case& c :
       {Case{monWed, false, "Mon,Wed"}, Case{all, false, "All"}, Case{none, false, "None"},
        Case{weekend, true, "Ex. Sat,Sun"}, Case{none, true, "All"}, Case{all, true, "None"}}) {
    EXPECT_EQ(DaysText(c.days, c.except), c.text);
  }
}

TEST(AlarmTextsTest, TimeFieldsAreForcedIntoRangeWhenLeft) {
  struct Case {
    const char* typed;
    const char* hour;
    const char* minute;
  };
  for (const Case& c : {Case{"7", "07", "07"}, Case{"99", "23", "59"}, Case{"ab", "12", "00"},
                        Case{"75", "23", "59"}, Case{"", "12", "00"}, Case{"a", "12", "00"},
                        Case{"00", "00", "00"}, Case{"123456789012", "23", "59"}}) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(LeftHourField(c.typed), c.hour);
    EXPECT_EQ(LeftMinuteField(c.typed), c.minute);
  }
}

TEST(AlarmTextsTest, StopwatchCountsFiveHundredthsATickAndWrapsAtAHundredHours) {
  StopwatchCount count;
  for (int tick = 0; tick < 20; ++tick)
    count.Tick();
  EXPECT_EQ(count.Text(), "00:00:01.00");
  count = StopwatchCount::FromText("00:59:59.95");
  count.Tick();
  EXPECT_EQ(count.Text(), "01:00:00.00");
  count = StopwatchCount::FromText("99:59:59.95");
  count.Tick();
  EXPECT_EQ(count.Text(), "00:00:00.00");
  EXPECT_EQ(StopwatchCount::FromText("garbage").Text(), "00:00:00.00");
}

TEST(AlarmTextsTest, CountdownRunsOutBelowZeroAndArrowsWrap) {
  CountdownDisplay display{0, 1};
  EXPECT_TRUE(display.SecondDown());
  EXPECT_EQ(display.Text(), "000:00");
  EXPECT_FALSE(display.SecondDown());
  EXPECT_EQ(display.Text(), "000:00");
  display = {1, 0};
  EXPECT_TRUE(display.SecondDown());
  EXPECT_EQ(display.Text(), "000:59");

  display = {998, 0};
  std::vector<std::string> shown;
  for (int i = 0; i < 3; ++i) {
    display.StepMinutes(+1);
    shown.push_back(display.Text());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"999:00", "000:00", "001:00"}));
  display.StepMinutes(-1);
  display.StepMinutes(-1);
  EXPECT_EQ(display.Text(), "999:00");
  display.StepSeconds(-1);
  EXPECT_EQ(display.Text(), "999:59");
  display.StepSeconds(+1);
  EXPECT_EQ(display.Text(), "999:00");
}

TEST(AlarmTextsTest, HeldArrowsSpeedUp) {
  const std::vector<std::pair<int, int>> table = {{1, 500}, {2, 250}, {3, 250}, {4, 150}, {7, 150},
                                                  {8, 75},  {20, 75}, {21, 30}, {500, 30}};
  for (const auto& [tick, ms] : table)
    EXPECT_EQ(ArrowRepeatAfterMs(tick), ms) << tick;
}

}  // namespace
}  // namespace pelorin
