#pragma once

#include <QDBusConnection>

#include "ports/Clock.h"

namespace pelorin::lnx {

// The system clock. Setting it asks systemd's time service (org.freedesktop.timedate1)
// on the system bus, which checks whether the user may. Nothing waits for the service:
// its answer comes from the event loop, and one that has not come within a few
// seconds counts as a refusal.
class LinuxClock : public ports::Clock {
 public:
  // The time service may have to be started first.
  static constexpr int kSetTimeAnswerMs = 5000;

  LinuxClock();
  // Talks to the time service on `bus` instead of the system bus, and waits
  // `answerMs` for its answer.
  explicit LinuxClock(QDBusConnection bus, int answerMs = kSetTimeAnswerMs);

  ports::LocalTime Now() const override;
  // std::chrono::steady_clock.
  std::int64_t MonotonicMs() const override;
  // False for a date or time that does not exist (never sent), and when the bus or the
  // service is missing, refuses or does not answer.
  void SetNow(const ports::LocalTime& time, std::function<void(bool set)> done) override;

 private:
  QDBusConnection bus_;
  int answerMs_;
};

}  // namespace pelorin::lnx
