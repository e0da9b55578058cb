#pragma once

#include "ports/CompanionMessage.h"

namespace pelorin::ports {

// The companion watchdog program (cstdr) as the suite sees it: whether its window (on
// Linux: its message channel) exists, posting it a message, and starting it.
class Companion {
 public:
  virtual ~Companion() = default;

  virtual bool WindowExists() = 0;
  virtual void Post(const CompanionMessage& message) = 0;
  // Whether the program file is present where the suite's programs live.
  virtual bool ProgramExists() const = 0;
  // Starts the program with the parameter "START"; false when it could not be started.
  virtual bool Start() = 0;
};

}  // namespace pelorin::ports
