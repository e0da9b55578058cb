#include "organizer/DayMonth.h"

#include <array>

#include "common/Text.h"

namespace pelorin {
namespace {

constexpr int kYearDays = 365;
constexpr std::array<int, 12> kLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int Digit(char c) {
  return c - '0';
}

// Day of the year from 1; a day beyond its month's length counts on into the next
// months, as advancing it would.
int DayOfYear(const DayMonth& date) {
  int days = date.day;
  for (int m = 1; m < date.month; ++m)
    days += DayMonth::LengthOf(m);
  return days;
}

DayMonth FromDayOfYear(int days) {
  DayMonth date{days, 1};
  while (date.day > DayMonth::LengthOf(date.month)) {
    date.day -= DayMonth::LengthOf(date.month);
    ++date.month;
  }
  return date;
}

}  // namespace

int DayMonth::LengthOf(int month) {
  return month >= 1 && month <= 12 ? kLengths[static_cast<std::size_t>(month - 1)] : 31;
}

std::optional<DayMonth> DayMonth::FromText(std::string_view ddmm) {
  if (ddmm.size() != 4 || !IsDigits(ddmm)) return std::nullopt;
  const DayMonth date{Digit(ddmm[0]) * 10 + Digit(ddmm[1]), Digit(ddmm[2]) * 10 + Digit(ddmm[3])};
  if (date.day < 1 || date.day > 31 || date.month < 1 || date.month > 12) return std::nullopt;
  return date;
}

std::string DayMonth::Text() const {
  return PadNumber(day, 2, '0') + PadNumber(month, 2, '0');
}

DayMonth DayMonth::Advanced(int days, bool* wrapped) const {
  // The year has no leap day, so every 365 days the date comes back: the advance is
  // counted in days of the year instead of month by month.
  const long long total = static_cast<long long>(DayOfYear(*this)) + (days > 0 ? days : 0);
  if (wrapped != nullptr) *wrapped = total > kYearDays;
  return FromDayOfYear(static_cast<int>((total - 1) % kYearDays) + 1);
}

int DayMonth::DaysAfter(const DayMonth& from) const {
  return ((DayOfYear(*this) - DayOfYear(from)) % kYearDays + kYearDays) % kYearDays;
}

}  // namespace pelorin
