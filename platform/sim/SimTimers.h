#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ports/Timers.h"
#include "sim/SimClock.h"

namespace pelorin::sim {

class SimTimer;

// A virtual-time scheduler. Tests advance time; due timers fire in the order of their
// due moments (timers due at the same moment fire in the order they were created),
// the clock standing at each timer's moment while its handler runs. A handler may
// advance time itself (a modal dialog that is answered after a while does): the
// timers that fall due meanwhile fire inside it, the same timer included when its
// handler did not disable it first, as they would in a real event loop.
class SimTimers : public ports::Timers {
 public:
  explicit SimTimers(SimClock& clock);
  ~SimTimers() override;

  std::unique_ptr<ports::Timer> Create(std::string name, int intervalMs,
                                       std::function<void()> handler) override;

  // Lets `milliseconds` of virtual time pass.
  void Advance(std::int64_t milliseconds);
  // Fires the timers that are due at the present moment, if any.
  void RunDue() { Advance(0); }

  SimClock& clock() { return clock_; }

  // The names of the timers in the order they fired, for tests that check order.
  // Kept only while switched on (a day of virtual time fires millions of ticks).
  void KeepFiredLog(bool keep) { keepFiredLog_ = keep; }
  const std::vector<std::string>& FiredLog() const { return firedLog_; }
  void ClearFiredLog() { firedLog_.clear(); }
  // How many timers exist, and how many would fire (enabled, interval above 0).
  int Count() const { return static_cast<int>(timers_.size()); }
  int ActiveCount() const;

 private:
  friend class SimTimer;
  void Register(SimTimer* timer);
  void Unregister(SimTimer* timer);
  SimTimer* NextDue(std::int64_t until) const;

  SimClock& clock_;
  std::map<std::uint64_t, SimTimer*> timers_;  // by creation number
  std::uint64_t nextId_ = 0;
  std::vector<std::string> firedLog_;
  bool keepFiredLog_ = false;
};

}  // namespace pelorin::sim
