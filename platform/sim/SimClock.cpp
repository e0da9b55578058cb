#include "sim/SimClock.h"

namespace pelorin::sim {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidLocalTime(const ports::LocalTime& t) {
  return t.year >= 1601 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
         t.minute < 60 && t.second >= 0 && t.second < 60 && t.millisecond >= 0 &&
         t.millisecond < 1000;
}

std::int64_t ToEpochMs(const ports::LocalTime& t) {
  const std::int64_t days =
      DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
  return days * kMsPerDay + ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

ports::LocalTime FromEpochMs(std::int64_t ms) {
  std::int64_t days = ms / kMsPerDay;
  std::int64_t rest = ms % kMsPerDay;
  if (rest < 0) {
    rest += kMsPerDay;
    --days;
  }
  ports::LocalTime t;
  CivilFromDays(days, t.year, t.month, t.day);
  t.millisecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  t.second = static_cast<int>(rest % 60);
  rest /= 60;
  t.minute = static_cast<int>(rest % 60);
  t.hour = static_cast<int>(rest / 60);
  return t;
}

SimClock::SimClock(const ports::LocalTime& start) : wallAtTickZero_(ToEpochMs(start)) {}

ports::LocalTime SimClock::Now() const {
  return FromEpochMs(wallAtTickZero_ + ticks_);
}

void SimClock::SetNow(const ports::LocalTime& time, std::function<void(bool)> done) {
  const bool set = Set(time);
  if (done) done(set);
}

bool SimClock::Set(const ports::LocalTime& time) {
  if (refuseSetting_ || !IsValidLocalTime(time)) return false;
  wallAtTickZero_ = ToEpochMs(time) - ticks_;
  ++setCount_;
  return true;
}

void SimClock::AdvanceTicksTo(std::int64_t ticks) {
  if (ticks > ticks_) ticks_ = ticks;
}

}  // namespace pelorin::sim
