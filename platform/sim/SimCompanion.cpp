#include "sim/SimCompanion.h"

namespace pelorin::sim {

void SimCompanion::Post(const Message& message) {
  if (windowExists) posted.push_back(message);
}

bool SimCompanion::Start() {
  if (!programExists) return false;
  ++starts;
  if (windowAppearsOnStart) windowExists = true;
  return true;
}

}  // namespace pelorin::sim
