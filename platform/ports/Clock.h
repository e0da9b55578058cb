#pragma once

#include "ports/LocalTime.h"

namespace pelorin::ports {

// The local wall clock. No handler of the suite reads the system time directly;
// everything asks this port, so that tests run on a virtual clock.
class Clock {
 public:
  virtual ~Clock() = default;

  virtual LocalTime Now() const = 0;

  // Sets the local date and time of the system. False when the system refused.
  virtual bool SetNow(const LocalTime& time) = 0;
};

}  // namespace pelorin::ports
