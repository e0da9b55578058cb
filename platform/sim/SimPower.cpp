#include "sim/SimPower.h"

namespace pelorin::sim {

bool SimPower::Perform(ports::PowerCall call) {
  if (!Allowed(call)) return false;
  performed.push_back(call);
  return true;
}

void SimPower::InjectSuspend() {
  if (onSleep_) onSleep_(true);
}

void SimPower::InjectResume() {
  if (onSleep_) onSleep_(false);
}

}  // namespace pelorin::sim
