#pragma once

#include <cstdint>
#include <functional>

#include "ports/LocalTime.h"

namespace pelorin::ports {

// The local wall clock. No handler of the suite reads the system time directly;
// everything asks this port, so that tests run on a virtual clock.
class Clock {
 public:
  virtual ~Clock() = default;

  virtual LocalTime Now() const = 0;

  // Milliseconds of a monotonic count that only moves forward, at the pace of real
  // time: setting the wall clock (by the user, the suite or the network) does not move
  // it. Only differences mean anything; lifetimes and time-outs measure with it.
  virtual std::int64_t MonotonicMs() const = 0;

  // Asks the system to set its local date and time. `done` (it may be empty) learns once,
  // on the user-interface thread, whether it was set: false when the system refused or
  // did not answer. A real system answers from the event loop, never inside the call;
  // the simulation answers at once.
  virtual void SetNow(const LocalTime& time, std::function<void(bool set)> done) = 0;
};

}  // namespace pelorin::ports
