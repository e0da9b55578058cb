#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "organizer/OrgCalendar.h"

namespace pelorin {
namespace {

const ports::LocalTime kNow{2026, 6, 10, 12, 0};
const std::string kStamp = "20260610T100000Z";

OrgEntry Dated(const char* title, const char* day, const char* month) {
  OrgEntry e;
  e.TITLE = title;
  e.Date = true;
  e.DayX = day;
  e.MonthX = month;
  return e;
}

OrgEntry Timed(const char* title, const char* day, const char* month, const char* hour,
               const char* minute) {
  OrgEntry e = Dated(title, day, month);
  e.Time = true;
  e.HourX = hour;
  e.MinuteX = minute;
  return e;
}

void ExpectSameEntry(const OrgEntry& a, const OrgEntry& b) {
  EXPECT_EQ(a.TITLE, b.TITLE);
  EXPECT_EQ(a.Memo, b.Memo) << a.TITLE;
  EXPECT_EQ(a.EveryDay, b.EveryDay) << a.TITLE;
  EXPECT_EQ(a.Repeat, b.Repeat) << a.TITLE;
  EXPECT_EQ(a.RepeatMin, b.RepeatMin) << a.TITLE;
  EXPECT_EQ(a.Time, b.Time) << a.TITLE;
  EXPECT_EQ(a.HourX + a.MinuteX, b.HourX + b.MinuteX) << a.TITLE;
  EXPECT_EQ(a.Date, b.Date) << a.TITLE;
  EXPECT_EQ(a.DayX + a.MonthX, b.DayX + b.MonthX) << a.TITLE;
  EXPECT_EQ(a.Enabled, b.Enabled) << a.TITLE;
  EXPECT_EQ(a.PeriodT, b.PeriodT) << a.TITLE;
  if (a.PeriodT) {
    EXPECT_EQ(a.PeriodHour + a.PeriodMin, b.PeriodHour + b.PeriodMin) << a.TITLE;
  }
  EXPECT_EQ(a.PeriodE, b.PeriodE) << a.TITLE;
  if (a.PeriodE) {
    EXPECT_EQ(a.PeriodDay + a.PeriodMonth, b.PeriodDay + b.PeriodMonth) << a.TITLE;
  }
}

TEST(OrgCalendarTest, EntriesComeBackFromTheirCalendar) {
  std::vector<OrgEntry> entries;
  entries.push_back(Timed("Dentist; bring card, \\ and ID", "15", "03", "09", "30"));
  entries.back().Memo = {"Дом 5, кв. 2", "",
                         "a long line of memo text that is well beyond the "
                         "seventy-five octets of one physical line ☎"};
  entries.push_back(Timed("Every week up to June", "01", "02", "18", "05"));
  entries.back().EveryDay = 7;
  entries.back().PeriodE = true;
  entries.back().PeriodDay = "01";
  entries.back().PeriodMonth = "06";
  entries.push_back(Timed("Pills every 4 hours until 20:00", "01", "01", "08", "00"));
  entries.back().EveryDay = 1;
  entries.back().Repeat = 4;
  entries.back().PeriodT = true;
  entries.back().PeriodHour = "20";
  entries.push_back(Timed("Tea every 15 minutes in one hour", "20", "07", "16", "00"));
  entries.back().EveryDay = 2;
  entries.back().Repeat = 15;
  entries.back().RepeatMin = true;
  entries.back().PeriodT = true;
  entries.back().PeriodHour = "17";
  entries.push_back(Timed("One day, every 90 minutes until 15:00", "11", "06", "09", "00"));
  entries.back().Repeat = 90;
  entries.back().RepeatMin = true;
  entries.back().PeriodT = true;
  entries.back().PeriodHour = "15";
  entries.push_back(Timed("One day, hourly to midnight", "28", "02", "21", "10"));
  entries.back().Repeat = 1;
  entries.push_back(Dated("Completed all-day entry", "24", "12"));
  entries.back().Enabled = false;
  entries.push_back(Dated("All day every 3 days", "01", "01"));
  entries.back().EveryDay = 3;

  const std::string text = ExportCalendar(entries, kNow, kStamp);
  const CalendarImport back = ImportCalendar(text);
  EXPECT_EQ(back.skipped, 0);
  ASSERT_EQ(back.entries.size(), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    ExpectSameEntry(back.entries[i], entries[i]);
}

TEST(OrgCalendarTest, ExportPlacesEntriesOnTheirNextDateAndWritesTheirRules) {
  OrgEntry undated;
  undated.TITLE = "Every day";
  undated.Time = true;
  undated.HourX = "07";
  OrgEntry passed = Dated("Passed this year", "01", "03");
  passed.EveryDay = 5;
  passed.PeriodE = true;
  passed.PeriodDay = "01";
  passed.PeriodMonth = "02";  // before the start: next year's first of February
  OrgEntry untimedHourly = Dated("No time to repeat from", "10", "06");
  untimedHourly.Repeat = 2;
  const std::string text = ExportCalendar(
      {undated, passed, untimedHourly, Timed("Later", "11", "06", "23", "59")}, kNow, kStamp);

  EXPECT_TRUE(text.starts_with("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:"));
  EXPECT_TRUE(text.ends_with("END:VEVENT\r\nEND:VCALENDAR\r\n"));
  for (const char* line : {
           "DTSTART:20260610T070000\r\nSUMMARY:Every day\r\nRRULE:FREQ=DAILY;INTERVAL=1\r\n",
           "DTSTART;VALUE=DATE:20270301\r\n",
           "RRULE:FREQ=DAILY;INTERVAL=5;UNTIL=20280201\r\n",
           "DTSTART;VALUE=DATE:20260610\r\nSUMMARY:No time to repeat from\r\nEND:VEVENT",
           "DTSTART:20260611T235900\r\n",
           "DTSTAMP:20260610T100000Z\r\n",
       })
    EXPECT_NE(text.find(line), std::string::npos) << line;
  // The UID stays the same from one export to the next, and differs between entries.
  EXPECT_EQ(text,
            ExportCalendar({undated, passed, untimedHourly, Timed("Later", "11", "06", "23", "59")},
                           kNow, kStamp));
  EXPECT_NE(text.find("UID:0-"), std::string::npos);
  EXPECT_NE(text.find("UID:3-"), std::string::npos);
}

TEST(OrgCalendarTest, TextIsEscapedAndLinesFoldedWithinUtf8Characters) {
  struct Case {
    std::string plain;
    std::string escaped;
    std::string back;  // a CRLF comes back as LF
  };
  const std::vector<Case> cases = {
      {"a;b,c\\d", "a\\;b\\,c\\\\d", "a;b,c\\d"},
      {"one\ntwo\r\nthree", "one\\ntwo\\nthree", "one\ntwo\nthree"},
      {"Привет", "Привет", "Привет"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ics::EscapeText(c.plain), c.escaped);
    EXPECT_EQ(ics::UnescapeText(c.escaped), c.back);
  }
  EXPECT_EQ(ics::UnescapeText("x\\Ny\\:"), "x\ny:");

  std::string line = "DESCRIPTION:";
  for (int i = 0; i < 60; ++i)
    line += "жx☎";
  const std::string folded = ics::FoldLine(line);
  std::size_t start = 0;
  while (start < folded.size()) {
    const std::size_t end = folded.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - start, 75u);
    // A continuation never begins in the middle of a character.
    if (start > 0) {
      EXPECT_NE(static_cast<unsigned char>(folded[start + 1]) & 0xC0, 0x80);
    }
    start = end + 2;
  }
  EXPECT_EQ(ics::UnfoldLines(folded), std::vector<std::string>{line});
  EXPECT_EQ(ics::UnfoldLines("A:1\n B\r\n\tC\nD:2"), (std::vector<std::string>{"A:1BC", "D:2"}));
}

std::string Calendar(const std::string& event) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\n" + event + "END:VEVENT\r\n" +
         "END:VCALENDAR\r\n";
}

TEST(OrgCalendarTest, ImportTakesWhatTheOrganizerCanRepeatAndSkipsTheRest) {
  struct Case {
    const char* event;
    bool taken;
  };
  const std::vector<Case> cases = {
      {"DTSTART:20260301T101500Z\r\n", true},
      {"DTSTART;TZID=Europe/Berlin:20260301T101500\r\n", true},
      {"DTSTART;VALUE=DATE:20260301\r\n", true},
      {"DTSTART:20260301T1015\r\n", false},
      {"DTSTART:20240229T101500\r\n", false},  // no 29th of February
      {"SUMMARY:no start\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY;INTERVAL=99\r\n", true},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY;INTERVAL=100\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY;INTERVAL=0\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=HOURLY;INTERVAL=240\r\n", true},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=MINUTELY;INTERVAL=241\r\n", false},
      {"DTSTART;VALUE=DATE:20260301\r\nRRULE:FREQ=HOURLY\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=WEEKLY\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=MONTHLY\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=YEARLY\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY;BYDAY=MO,TU\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY;COUNT=5\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY;BYHOUR=10,13,17\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY;BYHOUR=10,12;BYMINUTE=0,30\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY\r\nEXDATE:20260302T100000\r\n", false},
      {"DTSTART:20260301T100000\r\nRRULE:FREQ=DAILY\r\nRRULE:FREQ=HOURLY\r\n", false},
      {"DTSTART:20260301T100000\r\nRECURRENCE-ID:20260302T100000\r\n", false},
  };
  for (const Case& c : cases) {
    const CalendarImport r = ImportCalendar(Calendar(c.event));
    EXPECT_EQ(r.entries.size(), c.taken ? 1u : 0u) << c.event;
    EXPECT_EQ(r.skipped, c.taken ? 0 : 1) << c.event;
  }

  // The wall time as written, whatever the zone; an alarm inside the event is no
  // event of its own; other components are not events.
  const CalendarImport r = ImportCalendar(
      "BEGIN:VCALENDAR\nBEGIN:VTODO\nDTSTART:20260101T000000\nEND:VTODO\nBEGIN:VEVENT\n"
      "DTSTART:20261105T231000Z\nSUMMARY:Call\\, then write\nDESCRIPTION:a\\nb\n"
      "RRULE:FREQ=MINUTELY;INTERVAL=20;UNTIL=20261105T235000\n"
      "BEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:alarm text\nEND:VALARM\n"
      "STATUS:CANCELLED\nEND:VEVENT\nEND:VCALENDAR\n");
  ASSERT_EQ(r.entries.size(), 1u);
  EXPECT_EQ(r.skipped, 0);
  const OrgEntry& e = r.entries[0];
  EXPECT_EQ(e.TITLE, "Call, then write");
  EXPECT_EQ(e.Memo, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(e.DayX + e.MonthX + e.HourX + e.MinuteX, "05112310");
  EXPECT_TRUE(e.Time && e.Date && e.RepeatMin && e.PeriodT && !e.Enabled);
  EXPECT_EQ(e.Repeat, 20);
  EXPECT_EQ(e.PeriodHour + e.PeriodMin, "2351");
}

TEST(OrgCalendarTest, ATextThatIsNoCalendarIsRefused) {
  for (const char* text : {"", "\r\n\r\n", "[SYSTEM]\r\nCount=1\r\n", "BEGIN:VCARD\r\n"})
    EXPECT_THROW(ImportCalendar(text), CalendarFormatError) << text;
  EXPECT_EQ(ImportCalendar("\r\nbegin:vcalendar\r\nEND:VCALENDAR\r\n").entries.size(), 0u);
}

}  // namespace
}  // namespace pelorin
