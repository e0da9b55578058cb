#pragma once

#include <chrono>
#include <deque>

namespace pelorin::cstdr {

// At most `limit` restarts within any `window`: a suite that keeps crashing at start is
// given up instead of being started again and again.
class RestartBudget {
 public:
  using Clock = std::chrono::steady_clock;

  RestartBudget(int limit, Clock::duration window);

  // Counts a restart at `now` and says true, or says false when the budget is spent.
  bool Take(Clock::time_point now);

 private:
  int limit_;
  Clock::duration window_;
  std::deque<Clock::time_point> restarts_;
};

}  // namespace pelorin::cstdr
