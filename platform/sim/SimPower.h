#pragma once

#include <functional>
#include <set>
#include <vector>

#include "ports/Power.h"

namespace pelorin::sim {

// Records the calls instead of making them; tests refuse calls and let the computer
// go to sleep and wake up.
class SimPower : public ports::Power {
 public:
  bool Allowed(ports::PowerCall call) override { return refused.count(call) == 0; }
  bool Perform(ports::PowerCall call) override;
  void SetOnSleep(std::function<void(bool)> handler) override { onSleep_ = std::move(handler); }

  void InjectSuspend();
  void InjectResume();

  std::set<ports::PowerCall> refused;  // calls the system does not allow
  std::vector<ports::PowerCall> performed;

 private:
  std::function<void(bool)> onSleep_;
};

}  // namespace pelorin::sim
