#include "sim/SimHotkeys.h"

namespace pelorin::sim {

bool SimHotkeys::Register(int id, unsigned modifiers, int virtualKey) {
  const Combination c{modifiers, virtualKey};
  if (heldElsewhere_.count(c) != 0 || virtualKey <= 0) return false;
  // The system refuses a combination that another identifier of ours holds already.
  for (const auto& [otherId, other] : registered_) {
    if (otherId != id && other == c) return false;
  }
  registered_[id] = c;
  return true;
}

void SimHotkeys::Press(unsigned modifiers, int virtualKey) {
  if (!handler_) return;
  for (const auto& [id, c] : std::map<int, Combination>(registered_)) {
    if (c.modifiers == modifiers && c.virtualKey == virtualKey) handler_(id, modifiers, virtualKey);
  }
}

}  // namespace pelorin::sim
