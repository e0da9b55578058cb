#include "common/Dates.h"

#include <algorithm>
#include <charconv>
#include <compare>
#include <tuple>
#include <utility>

#include "common/Text.h"

namespace pelorin {
namespace {

constexpr int kMinutesPerDay = 1440;
constexpr int kLastYearOfPivot = 33;  // 00-33 -> 20xx, 34-99 -> 19xx

// Characters `position` .. `position + length - 1` (from 1) of the text, as far as
// they exist.
std::string_view Chars(std::string_view text, std::size_t position, std::size_t length) {
  if (position > text.size()) return {};
  return text.substr(position - 1, length);
}

// The number written by a field of digits; 0 for an empty or non-numeric field.
int FieldNumber(std::string_view field) {
  int value = 0;
  if (!IsDigits(field)) return 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc{} ? value : 0;
}

int NumberAt(std::string_view text, std::size_t position, std::size_t length) {
  return FieldNumber(Chars(text, position, length));
}

char OrderChar(std::strong_ordering order) {
  if (order < 0) return '<';
  if (order > 0) return '>';
  return '=';
}

std::string Pad2(int value) {
  return PadNumber(value, 2, '0');
}

// Days since 1970-01-01 of a date of the Gregorian calendar; month and day may lie
// outside their ranges and count on from the year and the month.
long long DaysFromCivil(long long year, long long month, long long day) {
  const long long monthIndex = month - 1;
  const long long carriedYears = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
  year += carriedYears;
  month = monthIndex - 12 * carriedYears + 1;  // now 1..12
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

std::string ExpandYear(std::string_view date, char separator) {
  if (date.size() != 8 || !IsDigits(date.substr(6, 2))) return std::string(date);
  const bool nineteen = FieldNumber(date.substr(6, 2)) > kLastYearOfPivot;
  return std::string(date.substr(0, 5)) + separator + (nineteen ? "19" : "20") +
         std::string(date.substr(6, 2));
}

std::string ShortenYear(std::string_view date, char separator) {
  if (date.size() != 10) return std::string(date);
  return std::string(date.substr(0, 5)) + separator + std::string(date.substr(8, 2));
}

// Fields 2, 1 and 3 of the text split at `from`, joined by `to`: turns MM/DD/YYYY
// into DD.MM.YYYY and back.
std::string SwapDayAndMonth(std::string_view date, char from, char to) {
  return GetField(date, from, 2) + to + GetField(date, from, 1) + to + GetField(date, from, 3);
}

int DaysInMonth(int month) {
  switch (month) {
    case 2:
      return 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

int MinutesOfDay(std::string_view time) {
  return NumberAt(time, 1, 2) * 60 + NumberAt(time, 4, 2);
}

}  // namespace

std::string TimeNowText(const ports::Clock& clock) {
  const ports::LocalTime now = clock.Now();
  return Pad2(now.hour) + ':' + Pad2(now.minute) + ':' + Pad2(now.second);
}

std::string DateNowText(const ports::Clock& clock) {
  const ports::LocalTime now = clock.Now();
  return Pad2(now.day) + '.' + Pad2(now.month) + '.' + PadNumber(now.year, 4, '0');
}

std::string DateNowTextUS(const ports::Clock& clock) {
  const ports::LocalTime now = clock.Now();
  return Pad2(now.month) + '/' + Pad2(now.day) + '/' + PadNumber(now.year, 4, '0');
}

int WeekdayOf(int day, int month, int year) {
  const long long days = DaysFromCivil(year, month, day);
  // 1970-01-01 was a Thursday (4).
  return static_cast<int>(((days + 3) % 7 + 7) % 7) + 1;
}

int WeekdayToday(const ports::Clock& clock) {
  const ports::LocalTime now = clock.Now();
  return WeekdayOf(now.day, now.month, now.year);
}

std::string ExpandYearDot(std::string_view date) {
  return ExpandYear(date, '.');
}
std::string ExpandYearSlash(std::string_view date) {
  return ExpandYear(date, '/');
}
std::string ShortenYearDot(std::string_view date) {
  return ShortenYear(date, '.');
}
std::string ShortenYearSlash(std::string_view date) {
  return ShortenYear(date, '/');
}

std::string YearPart(std::string_view date) {
  return std::string(Chars(date, 7, date.size() == 10 ? 4 : 2));
}

char CompareDates(std::string_view a, std::string_view b) {
  const auto key = [](std::string_view date) {
    return std::tuple(FieldNumber(YearPart(date)), NumberAt(date, 4, 2), NumberAt(date, 1, 2));
  };
  return OrderChar(key(a) <=> key(b));
}

char CompareTimes(std::string_view a, std::string_view b) {
  return OrderChar(MinutesOfDay(a) <=> MinutesOfDay(b));
}

std::string AddTimes(std::string_view time, std::string_view duration) {
  return MinutesToText((MinutesOfDay(time) + MinutesOfDay(duration)) % kMinutesPerDay);
}

std::string MinutesToText(int minutes) {
  minutes = std::max(minutes, 0);
  return Pad2(std::min(minutes / 60, 99)) + ':' + Pad2(minutes % 60);
}

std::string AddDaysToDate(std::string_view date, std::string_view offset) {
  int day = NumberAt(date, 1, 2);
  int month = NumberAt(date, 4, 2);
  int year = NumberAt(date, 7, 4);
  if (month < 1 || month > 12) return std::string(date);
  day += NumberAt(offset, 1, 2);
  while (day > DaysInMonth(month)) {
    day -= DaysInMonth(month);
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return Pad2(day) + '.' + Pad2(month) + '.' + PadNumber(year, 4, '0');
}

bool IsValidTime(std::string_view text) {
  const int colons = CountChar(text, ':');
  if (colons < 1 || colons > 2) return false;
  const int limits[] = {24, 60, 60};
  for (int i = 0; i <= colons; ++i) {
    const std::string field = GetField(text, ':', i + 1);
    if (field.size() > 2 || !IsDigits(field) || FieldNumber(field) >= limits[i]) return false;
  }
  return true;
}

bool SortDates(const std::vector<std::string>& dates, std::vector<std::string>& sorted) {
  std::vector<std::string> dayFirst;
  dayFirst.reserve(dates.size());
  for (const std::string& date : dates)
    dayFirst.push_back(SwapDayAndMonth(date, '/', '.'));
  std::stable_sort(
      dayFirst.begin(), dayFirst.end(),
      [](const std::string& a, const std::string& b) { return CompareDates(a, b) == '<'; });

  std::vector<std::pair<int, std::string>> byShortYear;
  for (std::string& date : dayFirst) {
    const std::string shortYear = YearPart(ShortenYearDot(date));
    if (shortYear.size() == 2 && IsDigits(shortYear)) {
      byShortYear.emplace_back(FieldNumber(shortYear), std::move(date));
    }
  }
  std::stable_sort(byShortYear.begin(), byShortYear.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  for (const auto& entry : byShortYear)
    sorted.push_back(SwapDayAndMonth(entry.second, '.', '/'));
  return true;
}

}  // namespace pelorin
