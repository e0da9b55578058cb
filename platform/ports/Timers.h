#pragma once

#include <functional>
#include <memory>
#include <string>

namespace pelorin::ports {

// One periodic timer with the rules the suite's handlers are written for:
// - an interval of 0 never fires, whatever Enabled says;
// - setting the interval, or enabling a timer, starts the count afresh;
// - missed ticks are not made up: a late timer fires once and counts on from then;
// - the handler runs on the one user-interface thread. While a handler waits in a
//   modal dialog, other timers (and this one, unless the handler disabled it first)
//   keep firing, exactly as in the real event loop.
class Timer {
 public:
  virtual ~Timer() = default;

  virtual void SetInterval(int milliseconds) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetOnTimer(std::function<void()> handler) = 0;
};

// Creates timers. A new timer is disabled until SetEnabled(true).
class Timers {
 public:
  virtual ~Timers() = default;

  // `name` identifies the timer in logs and test traces.
  virtual std::unique_ptr<Timer> Create(std::string name, int intervalMs,
                                        std::function<void()> handler) = 0;
};

}  // namespace pelorin::ports
