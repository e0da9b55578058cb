#include "common/Dates.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace pelorin {
namespace {

class FixedClock : public ports::Clock {
 public:
  explicit FixedClock(ports::LocalTime now) : now_(now) {}
  ports::LocalTime Now() const override { return now_; }
  std::int64_t MonotonicMs() const override { return 0; }
  void SetNow(const ports::LocalTime& time, std::function<void(bool)> done) override {
    now_ = time;
    if (done) done(true);
  }

 private:
  ports::LocalTime now_;
};

TEST(DatesNow, FormatsTheClockWithLeadingZeros) {
  const FixedClock clock({.year = 2004, .month = 3, .day = 7, .hour = 9, .minute = 5, .second = 2});
  EXPECT_EQ(TimeNowText(clock), "09:05:02");
  EXPECT_EQ(DateNowText(clock), "07.03.2004");
  EXPECT_EQ(DateNowTextUS(clock), "03/07/2004");
  EXPECT_EQ(WeekdayToday(clock), 7);  // a Sunday
}

TEST(WeekdayOf, MondayIsOneSundayIsSeven) {
  EXPECT_EQ(WeekdayOf(1, 1, 2024), 1);
  EXPECT_EQ(WeekdayOf(29, 2, 2000), 2);
  EXPECT_EQ(WeekdayOf(1, 3, 2000), 3);
  EXPECT_EQ(WeekdayOf(31, 12, 1999), 5);
  EXPECT_EQ(WeekdayOf(1, 1, 1970), 4);
  EXPECT_EQ(WeekdayOf(1, 1, 1600), 6);
  EXPECT_EQ(WeekdayOf(32, 12, 2023), WeekdayOf(1, 1, 2024));  // days beyond the month count on
  EXPECT_EQ(WeekdayOf(1, 13, 2023), WeekdayOf(1, 1, 2024));
  EXPECT_EQ(WeekdayOf(1, 0, 2024), WeekdayOf(1, 12, 2023));
}

TEST(YearForms, ExpandAndShortenByThePivot) {
  EXPECT_EQ(ExpandYearDot("05.06.33"), "05.06.2033");
  EXPECT_EQ(ExpandYearDot("05.06.34"), "05.06.1934");
  EXPECT_EQ(ExpandYearDot("05.06.00"), "05.06.2000");
  EXPECT_EQ(ExpandYearSlash("06/05/99"), "06/05/1999");
  for (const char* unchanged : {"5.6.05", "05.06.2005", "", "05.06.ab"}) {
    EXPECT_EQ(ExpandYearDot(unchanged), unchanged);
  }
  EXPECT_EQ(ShortenYearDot("05.06.2033"), "05.06.33");
  EXPECT_EQ(ShortenYearSlash("06/05/1999"), "06/05/99");
  EXPECT_EQ(ShortenYearDot("05.06.33"), "05.06.33");

  EXPECT_EQ(YearPart("05.06.2033"), "2033");
  EXPECT_EQ(YearPart("05.06.33"), "33");
  EXPECT_EQ(YearPart("05.06"), "");
}

TEST(Compare, DatesByYearMonthDayAndTimesByMinutes) {
  struct Case {
    const char* a;
    const char* b;
    char dates;
  };
  const Case dateCases[] = {
      {"01.02.2004", "01.02.2004", '='}, {"31.12.2003", "01.01.2004", '<'},
      {"01.03.2004", "29.02.2004", '>'}, {"02.01.2004", "01.01.2004", '>'},
      {"01.01.05", "01.01.99", '<'},     {"01.01.2005", "01.01.99", '>'},  // years as numbers
      {"", "01.01.2004", '<'},           {"xx.yy.zzzz", "", '='},  // unreadable fields count as 0
  };
  for (const Case& c : dateCases)
    EXPECT_EQ(CompareDates(c.a, c.b), c.dates) << c.a << " " << c.b;

  EXPECT_EQ(CompareTimes("09:05", "10:00"), '<');
  EXPECT_EQ(CompareTimes("10:00", "09:59"), '>');
  EXPECT_EQ(CompareTimes("10:00", "10:00:59"), '=');
  EXPECT_EQ(CompareTimes("", "00:00"), '=');
}

TEST(TimeArithmetic, AddTimesWrapsAtMidnightAndMinutesStopAt99Hours) {
  EXPECT_EQ(AddTimes("23:30", "01:15"), "00:45");
  EXPECT_EQ(AddTimes("10:00", "00:00"), "10:00");
  EXPECT_EQ(AddTimes("12:00", "60:00"), "00:00");
  EXPECT_EQ(AddTimes("", "01:02"), "01:02");

  EXPECT_EQ(MinutesToText(6000), "99:00");
  EXPECT_EQ(MinutesToText(6001), "99:01");
  EXPECT_EQ(MinutesToText(125), "02:05");
  EXPECT_EQ(MinutesToText(0), "00:00");
  EXPECT_EQ(MinutesToText(-5), "00:00");
}

TEST(AddDaysToDate, CountsMonthsWithATwentyEightDayFebruary) {
  struct Case {
    const char* date;
    const char* offset;
    const char* result;
  };
  const Case cases[] = {
      {"30.01.2004", "30.00.0000", "01.03.2004"},  // 2004 is a leap year; February still has 28
      {"15.04.2004", "15.00.0000", "30.04.2004"},
      {"16.04.2004", "15.00.0000", "01.05.2004"},
      {"25.12.1999", "07.00.0000", "01.01.2000"},
      {"01.01.2004", "99.00.0000", "10.04.2004"},
      {"05.06.2004", "00.00.0000", "05.06.2004"},
      {"05.13.2004", "01.00.0000", "05.13.2004"},  // no such month: unchanged
      {"", "05.00.0000", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AddDaysToDate(c.date, c.offset), c.result) << c.date << " + " << c.offset;
  }
}

TEST(IsValidTime, AcceptsHoursMinutesAndOptionalSeconds) {
  for (const char* valid : {"9:5", "12:30:59", "00:00", "23:59", "0:0:0", "23:59:59"}) {
    EXPECT_TRUE(IsValidTime(valid)) << valid;
  }
  for (const char* invalid : {"24:00", "12:60", "12:", ":30", "1:2:3:4", "12", "", "12:30:60",
                              "1a:00", "012:30", "12:30:", " 1:00", "-1:00"}) {
    EXPECT_FALSE(IsValidTime(invalid)) << invalid;
  }
}

TEST(SortDates, SortsThenPutsThisCenturysShortYearsFirst) {
  std::vector<std::string> sorted;
  EXPECT_TRUE(SortDates({"01/05/1999", "12/31/2000", "03/01/2000"}, sorted));
  EXPECT_EQ(sorted, (std::vector<std::string>{"03/01/2000", "12/31/2000", "01/05/1999"}));

  sorted.clear();
  SortDates({"02/01/2033", "06/01/1934", "05/05/2010", "01/01/2010", "garbage", "01/01/1",
             "04/04/1999", "01/01/2010"},
            sorted);
  EXPECT_EQ(sorted, (std::vector<std::string>{"01/01/2010", "01/01/2010", "05/05/2010",
                                              "02/01/2033", "06/01/1934", "04/04/1999"}));

  std::vector<std::string> untouched{"keep"};
  EXPECT_TRUE(SortDates({}, untouched));
  EXPECT_EQ(untouched, std::vector<std::string>{"keep"});
}

}  // namespace
}  // namespace pelorin
