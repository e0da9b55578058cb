#include "linux/LinuxClock.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>
#include <utility>

namespace pelorin::lnx {
namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValid(const ports::LocalTime& t) {
  return t.year >= 1970 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.month, t.year) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59 && t.millisecond >= 0 &&
         t.millisecond <= 999;
}

// Microseconds since the epoch (UTC) of a local time; nothing when the local time
// cannot be placed on the time line.
std::optional<std::int64_t> MicrosecondsUtc(const ports::LocalTime& t) {
  std::tm parts{};
  parts.tm_year = t.year - 1900;
  parts.tm_mon = t.month - 1;
  parts.tm_mday = t.day;
  parts.tm_hour = t.hour;
  parts.tm_min = t.minute;
  parts.tm_sec = t.second;
  parts.tm_isdst = -1;  // whether summer time applies is the time zone's business
  const std::time_t seconds = std::mktime(&parts);
  if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
  return static_cast<std::int64_t>(seconds) * 1000000 + std::int64_t{t.millisecond} * 1000;
}

}  // namespace

LinuxClock::LinuxClock() : LinuxClock(QDBusConnection::systemBus()) {}

LinuxClock::LinuxClock(QDBusConnection bus, int answerMs)
    : bus_(std::move(bus)), answerMs_(answerMs) {}

std::int64_t LinuxClock::MonotonicMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

ports::LocalTime LinuxClock::Now() const {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto sinceSecond = now - system_clock::from_time_t(seconds);
  std::tm parts{};
  localtime_r(&seconds, &parts);
  ports::LocalTime t;
  t.year = parts.tm_year + 1900;
  t.month = parts.tm_mon + 1;
  t.day = parts.tm_mday;
  t.hour = parts.tm_hour;
  t.minute = parts.tm_min;
  t.second = parts.tm_sec;
  // to_time_t may round up: the remainder is then negative and the second one too far.
  auto ms = duration_cast<milliseconds>(sinceSecond).count();
  t.millisecond = static_cast<int>(ms < 0 ? 0 : (ms > 999 ? 999 : ms));
  return t;
}

void LinuxClock::SetNow(const ports::LocalTime& time, std::function<void(bool)> done) {
  if (!done) done = [](bool) {};
  const std::optional<std::int64_t> usecUtc =
      IsValid(time) ? MicrosecondsUtc(time) : std::optional<std::int64_t>();
  if (!usecUtc || !bus_.isConnected()) {
    QTimer::singleShot(0, [done = std::move(done)] { done(false); });
    return;
  }
  QDBusMessage call =
      QDBusMessage::createMethodCall("org.freedesktop.timedate1", "/org/freedesktop/timedate1",
                                     "org.freedesktop.timedate1", "SetTime");
  call << static_cast<qint64>(*usecUtc) << false /* relative */ << false /* interactive */;
  // The watcher lives until the answer, independent of this clock.
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, answerMs_));
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                     finished->deleteLater();
                     done(finished->reply().type() == QDBusMessage::ReplyMessage);
                   });
}

}  // namespace pelorin::lnx
