#include "RestartBudget.h"

namespace pelorin::cstdr {

RestartBudget::RestartBudget(int limit, Clock::duration window) : limit_(limit), window_(window) {}

bool RestartBudget::Take(Clock::time_point now) {
  while (!restarts_.empty() && now - restarts_.front() >= window_)
    restarts_.pop_front();
  if (static_cast<int>(restarts_.size()) >= limit_) return false;
  restarts_.push_back(now);
  return true;
}

}  // namespace pelorin::cstdr
