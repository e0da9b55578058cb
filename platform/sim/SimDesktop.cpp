#include "sim/SimDesktop.h"

namespace pelorin::sim {

bool SimDesktop::WriteAutostart() {
  if (refuseAutostart) return false;
  autostartExists = true;
  ++autostartWrites;
  return true;
}

bool SimDesktop::SetPriority(ports::ProcessPriority p) {
  if (refusePriority) return false;
  priority = p;
  return true;
}

}  // namespace pelorin::sim
