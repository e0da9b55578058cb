#include "sim/SimCompanion.h"

namespace pelorin::sim {

void SimCompanion::Post(int message, int wParam, int lParam) {
  if (windowExists) posted.push_back({message, wParam, lParam});
}

bool SimCompanion::Start() {
  if (!programExists) return false;
  ++starts;
  if (windowAppearsOnStart) windowExists = true;
  return true;
}

}  // namespace pelorin::sim
