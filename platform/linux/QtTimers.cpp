#include "linux/QtTimers.h"

#include "linux/QtTimer.h"

namespace pelorin::lnx {

std::unique_ptr<ports::Timer> QtTimers::Create(std::string name, int intervalMs,
                                               std::function<void()> handler) {
  return std::make_unique<QtTimer>(std::move(name), intervalMs, std::move(handler));
}

}  // namespace pelorin::lnx
