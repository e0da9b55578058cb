#pragma once

#include <cstdint>

#include "ports/Clock.h"

namespace pelorin::sim {

// A virtual local clock. Time moves only when a test (or the virtual timer
// scheduler) advances it. Like a real system, it keeps two counts: a monotonic tick
// count that timers run on, and the wall time, which SetNow changes without
// disturbing the ticks.
class SimClock : public ports::Clock {
 public:
  explicit SimClock(const ports::LocalTime& start = {2026, 1, 5, 9, 0, 0, 0});

  ports::LocalTime Now() const override;
  // The tick count, in milliseconds since the clock was made: the virtual time that
  // timers run on.
  std::int64_t MonotonicMs() const override { return ticks_; }
  // Accepts any valid calendar date and time of the years 1601..9999; the system
  // refuses anything else (and whatever a test marked as refused).
  void SetNow(const ports::LocalTime& time, std::function<void(bool set)> done) override;
  // The same, telling at once whether it was set.
  bool Set(const ports::LocalTime& time);

  // Makes setting fail, as a system without the right to set the time would.
  void RefuseSetting(bool refuse) { refuseSetting_ = refuse; }
  int SetCount() const { return setCount_; }

  // Moves the tick count (and the wall time with it) forward; never backward.
  void AdvanceTicksTo(std::int64_t ticks);

 private:
  std::int64_t ticks_ = 0;
  std::int64_t wallAtTickZero_ = 0;  // ms since 0001-01-01 (proleptic), local
  bool refuseSetting_ = false;
  int setCount_ = 0;
};

// Calendar arithmetic on local times (no time zones): milliseconds since 1970-01-01.
std::int64_t ToEpochMs(const ports::LocalTime& time);
ports::LocalTime FromEpochMs(std::int64_t ms);
bool IsValidLocalTime(const ports::LocalTime& time);

}  // namespace pelorin::sim
