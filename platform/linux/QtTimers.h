#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ports/Timers.h"

namespace pelorin::lnx {

// Creates QtTimer objects. They live on the thread that creates them, which must run a
// Qt event loop (the user-interface thread).
class QtTimers : public ports::Timers {
 public:
  std::unique_ptr<ports::Timer> Create(std::string name, int intervalMs,
                                       std::function<void()> handler) override;
};

}  // namespace pelorin::lnx
