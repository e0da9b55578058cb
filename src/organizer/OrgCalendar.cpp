#include "organizer/OrgCalendar.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>

#include "common/Text.h"
#include "organizer/DayMonth.h"

namespace pelorin {
namespace ics {

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += (next == 'n' || next == 'N') ? '\n' : next;
  }
  return out;
}

std::string FoldLine(std::string_view line) {
  std::string out;
  std::size_t width = 0;  // octets on the current physical line
  for (std::size_t i = 0; i < line.size();) {
    std::size_t len = 1;  // the whole UTF-8 sequence starting here
    while (i + len < line.size() && (static_cast<unsigned char>(line[i + len]) & 0xC0) == 0x80)
      ++len;
    if (width + len > 75) {
      out += "\r\n ";
      width = 1;
    }
    out.append(line.substr(i, len));
    width += len;
    i += len;
  }
  out += "\r\n";
  return out;
}

std::vector<std::string> UnfoldLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = end + 1;
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
      lines.back().append(line.substr(1));
    } else {
      lines.emplace_back(line);
    }
  }
  return lines;
}

}  // namespace ics

namespace {

using ports::LocalTime;

constexpr int kMinutesPerDay = 24 * 60;

// The parts of a text between the separators; the empty text is one empty part.
std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t end = text.find(separator, pos);
    parts.emplace_back(text.substr(pos, end == std::string_view::npos ? end : end - pos));
    if (end == std::string_view::npos) return parts;
    pos = end + 1;
  }
}

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}
constexpr int kMaxEveryDay = 99;
constexpr int kMaxRepeat = 240;

int Clamp(int value, int low, int high) {
  return std::min(std::max(value, low), high);
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

struct CivilDate {
  int year = 2000;
  int month = 1;
  int day = 1;
};

std::string DateText(const CivilDate& d) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d%02d%02d", d.year, d.month, d.day);
  return text;
}

std::string TimeText(int minuteOfDay, int second = 0) {
  return "T" + TwoDigits(minuteOfDay / 60) + TwoDigits(minuteOfDay % 60) + TwoDigits(second);
}

// The day and month of two-digit texts, brought into range as the editor's boxes do.
DayMonth EntryDate(const std::string& dayText, const std::string& monthText) {
  DayMonth date;
  date.month = Clamp(org_file::NumberOf(monthText), 1, 12);
  date.day = Clamp(org_file::NumberOf(dayText), 1, DayMonth::LengthOf(date.month));
  return date;
}

int EntryMinute(const std::string& hourText, const std::string& minuteText) {
  return Clamp(org_file::NumberOf(hourText), 0, 23) * 60 +
         Clamp(org_file::NumberOf(minuteText), 0, 59);
}

// The first day on or after `from` with this day and month.
CivilDate NextDate(const DayMonth& date, const CivilDate& from) {
  const DayMonth start{from.day, from.month};
  return {date.Before(start) ? from.year + 1 : from.year, date.month, date.day};
}

// A short stable hash of the title, so that a calendar importing the file twice
// recognizes the same entry.
std::string TitleHash(const std::string& title) {
  std::uint32_t hash = 2166136261u;
  for (const unsigned char c : title) {
    hash ^= c;
    hash *= 16777619u;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%08x", hash);
  return text;
}

std::string JoinNumbers(const std::set<int>& values) {
  std::string out;
  for (const int v : values) {
    if (!out.empty()) out += ',';
    out += std::to_string(v);
  }
  return out;
}

// The rule of an entry's repetition, empty when it has none. An undated entry is for
// every day, so it repeats daily. Repetition within the day needs a time to start
// from; an entry without one is an all-day event and keeps only its repetition by days.
std::string RuleOf(const OrgEntry& e, const CivilDate& start, int startMinute) {
  const int everyDay = Clamp(e.EveryDay, 0, kMaxEveryDay);
  const int dayStep = everyDay > 0 ? everyDay : (e.Date ? 0 : 1);
  const int repeat = e.Time ? Clamp(e.Repeat, 0, kMaxRepeat) : 0;
  const int step = e.RepeatMin ? repeat : repeat * 60;
  // Occurrences within the day lie before the "repeat until" time, or midnight.
  const int end = e.PeriodT ? EntryMinute(e.PeriodHour, e.PeriodMin) : kMinutesPerDay;
  std::string rule;
  if (repeat > 0 && dayStep == 0) {
    // One day's repetition: UNTIL holds the last minute before the end (it includes
    // its own instant).
    rule = std::string("FREQ=") + (e.RepeatMin ? "MINUTELY" : "HOURLY") +
           ";INTERVAL=" + std::to_string(repeat) + ";UNTIL=" + DateText(start) +
           TimeText(std::max(end - 1, startMinute));
    return rule;
  }
  if (dayStep == 0) return rule;
  rule = "FREQ=DAILY;INTERVAL=" + std::to_string(dayStep);
  if (repeat > 0) {
    // Repetition by days and within the day together: a daily rule expanded by the
    // hours and minutes the day's occurrences reach. Hourly steps come out exactly;
    // minute steps exactly when the occurrences of every hour have the same minutes,
    // otherwise the product of the lists adds a few at the day's edges.
    std::set<int> hours;
    std::set<int> minutes;
    for (int t = startMinute; t < end || t == startMinute; t += step) {
      hours.insert(t / 60);
      minutes.insert(t % 60);
      if (t + step >= kMinutesPerDay) break;
    }
    rule += ";BYHOUR=" + JoinNumbers(hours) + ";BYMINUTE=" + JoinNumbers(minutes);
  }
  if (e.PeriodE) {
    const CivilDate upTo = NextDate(EntryDate(e.PeriodDay, e.PeriodMonth), start);
    rule += ";UNTIL=" + DateText(upTo) + (e.Time ? "T235959" : "");
  }
  return rule;
}

void AppendEvent(std::string& out, const OrgEntry& e, int index, const LocalTime& now,
                 const std::string& stampUtc) {
  const CivilDate today{now.year, now.month, now.day};
  const CivilDate start = e.Date ? NextDate(EntryDate(e.DayX, e.MonthX), today) : today;
  const int startMinute = EntryMinute(e.HourX, e.MinuteX);
  const auto line = [&](const std::string& text) { out += ics::FoldLine(text); };
  line("BEGIN:VEVENT");
  line("UID:" + std::to_string(index) + "-" + TitleHash(e.TITLE) + "@org.pelorin");
  line("DTSTAMP:" + stampUtc);
  if (e.Time) {
    line("DTSTART:" + DateText(start) + TimeText(startMinute));
  } else {
    line("DTSTART;VALUE=DATE:" + DateText(start));
  }
  line("SUMMARY:" + ics::EscapeText(e.TITLE));
  if (!e.Memo.empty()) {
    std::string memo;
    for (std::size_t i = 0; i < e.Memo.size(); ++i)
      memo += (i == 0 ? "" : "\n") + e.Memo[i];
    line("DESCRIPTION:" + ics::EscapeText(memo));
  }
  const std::string rule = RuleOf(e, start, startMinute);
  if (!rule.empty()) line("RRULE:" + rule);
  // A completed entry never comes due again.
  if (!e.Enabled) line("STATUS:CANCELLED");
  line("END:VEVENT");
}

// ---- reading ----

struct Property {
  std::string name;    // upper case
  std::string params;  // upper case, ";"-separated as written
  std::string value;
};

std::optional<Property> ParseProperty(const std::string& line) {
  const std::size_t nameEnd = line.find_first_of(";:");
  if (nameEnd == std::string::npos || nameEnd == 0) return std::nullopt;
  std::size_t colon = nameEnd;
  bool quoted = false;
  for (; colon < line.size(); ++colon) {
    if (line[colon] == '"') quoted = !quoted;
    if (line[colon] == ':' && !quoted) break;
  }
  if (colon == line.size()) return std::nullopt;
  return Property{UpCaseText(line.substr(0, nameEnd)),
                  UpCaseText(line.substr(nameEnd, colon - nameEnd)), line.substr(colon + 1)};
}

struct DateTime {
  CivilDate date;
  bool hasTime = false;
  int minuteOfDay = 0;
  int second = 0;
};

bool AllDigits(std::string_view text) {
  return !text.empty() && IsDigits(text);
}

// A DATE or DATE-TIME value; a trailing Z or a TZID leave the wall time as written.
std::optional<DateTime> ParseDateTime(std::string_view text) {
  if (!text.empty() && (text.back() == 'Z' || text.back() == 'z')) text.remove_suffix(1);
  if (text.size() < 8 || !AllDigits(text.substr(0, 8))) return std::nullopt;
  DateTime dt;
  dt.date.year = std::stoi(std::string(text.substr(0, 4)));
  dt.date.month = std::stoi(std::string(text.substr(4, 2)));
  dt.date.day = std::stoi(std::string(text.substr(6, 2)));
  // The organizer's February has 28 days: the 29th has no place in it.
  if (dt.date.month < 1 || dt.date.month > 12 || dt.date.day < 1 ||
      dt.date.day > DayMonth::LengthOf(dt.date.month))
    return std::nullopt;
  if (text.size() == 8) return dt;
  if (text.size() != 15 || (text[8] != 'T' && text[8] != 't') || !AllDigits(text.substr(9)))
    return std::nullopt;
  const int hour = std::stoi(std::string(text.substr(9, 2)));
  const int minute = std::stoi(std::string(text.substr(11, 2)));
  const int second = std::stoi(std::string(text.substr(13, 2)));
  if (hour > 23 || minute > 59 || second > 60) return std::nullopt;
  dt.hasTime = true;
  dt.minuteOfDay = hour * 60 + minute;
  dt.second = std::min(second, 59);
  return dt;
}

std::optional<int> SmallNumber(std::string_view text) {
  if (!AllDigits(text) || text.size() > 4) return std::nullopt;
  return std::stoi(std::string(text));
}

std::optional<std::vector<int>> NumberList(std::string_view text) {
  std::vector<int> values;
  for (const std::string& part : Split(std::string(text), ',')) {
    const auto v = SmallNumber(part);
    if (!v) return std::nullopt;
    values.push_back(*v);
  }
  std::sort(values.begin(), values.end());
  return values;
}

// The common step of an ascending list starting at `first`: 0 for a list of one,
// nothing when the list does not start there or its gaps differ.
std::optional<int> StepFrom(const std::vector<int>& values, int first) {
  if (values.empty() || values.front() != first) return std::nullopt;
  if (values.size() == 1) return 0;
  const int step = values[1] - values[0];
  for (std::size_t i = 1; i < values.size(); ++i)
    if (values[i] - values[i - 1] != step || step <= 0) return std::nullopt;
  return step;
}

void SetDate(OrgEntry& e, const CivilDate& d) {
  e.Date = true;
  e.DayX = TwoDigits(d.day);
  e.MonthX = TwoDigits(d.month);
}

void SetUntilTime(OrgEntry& e, int minuteOfDay) {
  if (minuteOfDay >= kMinutesPerDay) return;  // midnight ends the day anyway
  e.PeriodT = true;
  e.PeriodHour = TwoDigits(minuteOfDay / 60);
  e.PeriodMin = TwoDigits(minuteOfDay % 60);
}

void SetUpTo(OrgEntry& e, const CivilDate& d) {
  e.PeriodE = true;
  e.PeriodDay = TwoDigits(d.day);
  e.PeriodMonth = TwoDigits(d.month);
}

// Daily expansion by hours and minutes as the export writes it: one of the two lists
// a single value and the other the steps from the start. False for any other form.
bool TakeDayExpansion(OrgEntry& e, const DateTime& start, const std::string& byHour,
                      const std::string& byMinute) {
  const auto hours = NumberList(byHour);
  const auto minutes = NumberList(byMinute);
  if (!hours || !minutes || !start.hasTime) return false;
  const int h0 = start.minuteOfDay / 60;
  const int m0 = start.minuteOfDay % 60;
  const auto hourStep = StepFrom(*hours, h0);
  const auto minuteStep = StepFrom(*minutes, m0);
  if (!hourStep || !minuteStep || hours->back() > 23 || minutes->back() > 59) return false;
  if (*hourStep > 0 && *minuteStep > 0) return false;
  if (*hourStep > 0) {
    e.Repeat = *hourStep;
    SetUntilTime(e, (hours->back() + *hourStep) * 60 + m0);
  } else if (*minuteStep > 0) {
    e.Repeat = *minuteStep;
    e.RepeatMin = true;
    SetUntilTime(e, h0 * 60 + minutes->back() + *minuteStep);
  }
  return true;
}

// Applies an RRULE value to an entry; false when the organizer cannot repeat so.
bool TakeRule(OrgEntry& e, const DateTime& start, const std::string& rule) {
  std::string freq;
  std::string byHour;
  std::string byMinute;
  std::optional<DateTime> until;
  int interval = 1;
  for (const std::string& part : Split(UpCaseText(rule), ';')) {
    const std::size_t eq = part.find('=');
    if (eq == std::string::npos) return false;
    const std::string key = part.substr(0, eq);
    const std::string value = part.substr(eq + 1);
    if (key == "FREQ") {
      freq = value;
    } else if (key == "INTERVAL") {
      const auto n = SmallNumber(value);
      if (!n) return false;
      interval = *n;
    } else if (key == "UNTIL") {
      until = ParseDateTime(value);
      if (!until) return false;
    } else if (key == "BYHOUR") {
      byHour = value;
    } else if (key == "BYMINUTE") {
      byMinute = value;
    } else if (key != "WKST") {  // the week's start matters to no daily rule
      return false;              // COUNT, BYDAY, BYMONTH, ...
    }
  }
  if (freq == "DAILY") {
    if (interval < 1 || interval > kMaxEveryDay) return false;
    e.EveryDay = interval;
    if (!byHour.empty() || !byMinute.empty()) {
      if (!TakeDayExpansion(e, start,
                            byHour.empty() ? std::to_string(start.minuteOfDay / 60) : byHour,
                            byMinute.empty() ? std::to_string(start.minuteOfDay % 60) : byMinute))
        return false;
    }
    if (until) SetUpTo(e, until->date);
    return true;
  }
  if (freq == "HOURLY" || freq == "MINUTELY") {
    if (interval < 1 || interval > kMaxRepeat || !start.hasTime) return false;
    if (!byHour.empty() || !byMinute.empty()) return false;
    e.Repeat = interval;
    e.RepeatMin = freq == "MINUTELY";
    if (until) {
      const bool sameDay = until->date.year == start.date.year &&
                           until->date.month == start.date.month &&
                           until->date.day == start.date.day;
      if (sameDay) {
        // UNTIL includes its own instant: the first whole minute after it ends the day.
        SetUntilTime(e, until->hasTime ? until->minuteOfDay + 1 : kMinutesPerDay);
      } else {
        SetUpTo(e, until->date);
      }
    }
    return true;
  }
  return false;  // WEEKLY, MONTHLY, YEARLY, SECONDLY, or none
}

// One VEVENT's properties as an entry; nothing when the organizer cannot hold it.
std::optional<OrgEntry> EntryOf(const std::vector<Property>& props) {
  OrgEntry e;
  std::optional<DateTime> start;
  std::vector<std::string> rules;
  for (const Property& p : props) {
    if (p.name == "DTSTART") {
      if (start) return std::nullopt;
      start = ParseDateTime(p.value);
      if (!start) return std::nullopt;
      if (p.params.find("VALUE=DATE") != std::string::npos &&
          p.params.find("VALUE=DATE-TIME") == std::string::npos && start->hasTime)
        return std::nullopt;
    } else if (p.name == "SUMMARY") {
      e.TITLE = ics::UnescapeText(p.value);
    } else if (p.name == "DESCRIPTION") {
      const std::string memo = ics::UnescapeText(p.value);
      e.Memo = Split(memo, '\n');
    } else if (p.name == "RRULE") {
      rules.push_back(p.value);
    } else if (p.name == "STATUS") {
      e.Enabled = UpCaseText(p.value) != "CANCELLED";
    } else if (p.name == "RDATE" || p.name == "EXDATE" || p.name == "EXRULE" ||
               p.name == "RECURRENCE-ID") {
      return std::nullopt;  // single added, removed or moved occurrences
    }
  }
  if (!start || rules.size() > 1) return std::nullopt;
  SetDate(e, start->date);
  if (start->hasTime) {
    e.Time = true;
    e.HourX = TwoDigits(start->minuteOfDay / 60);
    e.MinuteX = TwoDigits(start->minuteOfDay % 60);
  }
  if (!rules.empty() && !TakeRule(e, *start, rules.front())) return std::nullopt;
  // Text with a line break cannot stay one settings value: the memo is split into its
  // lines above, a title keeps its first line.
  e.TITLE = e.TITLE.substr(0, e.TITLE.find_first_of("\r\n"));
  for (std::string& line : e.Memo)
    if (!line.empty() && line.back() == '\r') line.pop_back();
  return e;
}

}  // namespace

std::string ExportCalendar(const std::vector<OrgEntry>& entries, const LocalTime& now,
                           const std::string& stampUtc) {
  std::string out;
  out += ics::FoldLine("BEGIN:VCALENDAR");
  out += ics::FoldLine("VERSION:2.0");
  out += ics::FoldLine("PRODID:-//Pelorin//Organizer//EN");
  out += ics::FoldLine("CALSCALE:GREGORIAN");
  for (std::size_t i = 0; i < entries.size(); ++i)
    AppendEvent(out, entries[i], static_cast<int>(i), now, stampUtc);
  out += ics::FoldLine("END:VCALENDAR");
  return out;
}

CalendarImport ImportCalendar(std::string_view text) {
  const std::vector<std::string> lines = ics::UnfoldLines(text);
  auto first = std::find_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return !Trim(l).empty(); });
  if (first == lines.end() || UpCaseText(Trim(*first)) != "BEGIN:VCALENDAR")
    throw CalendarFormatError("not an iCalendar file (it does not begin with BEGIN:VCALENDAR)");
  CalendarImport result;
  std::vector<Property> event;
  int depth = 0;  // components open inside the current VEVENT (0: none open)
  for (auto it = first; it != lines.end(); ++it) {
    const auto p = ParseProperty(*it);
    if (!p) continue;
    const std::string value = UpCaseText(Trim(p->value));
    if (p->name == "BEGIN") {
      if (depth > 0) {
        ++depth;  // a VALARM or the like inside the event
      } else if (value == "VEVENT") {
        depth = 1;
        event.clear();
      }
    } else if (p->name == "END" && depth > 0) {
      if (--depth == 0) {
        if (auto entry = EntryOf(event)) {
          result.entries.push_back(std::move(*entry));
        } else {
          ++result.skipped;
        }
      }
    } else if (depth == 1) {
      event.push_back(*p);
    }
  }
  return result;
}

}  // namespace pelorin
