#pragma once

#include <memory>

#include "core/CoreContext.h"
#include "ports/Timers.h"

namespace pelorin {

// The main window's three background timers (HiTimer 200 ms, ExTimer every
// ExInterval seconds, LowTimer 1 s), which run while a profile is active, and the
// handler that keeps the floating windows on top when another program is activated.
class BackgroundTimers {
 public:
  explicit BackgroundTimers(CoreContext& ctx);
  ~BackgroundTimers();

  void HiTimerTimer();
  void ExTimerTimer();
  void LowTimerTimer();
  void ApplicationDeactivated();

  // LoadProfile stops them first and starts them at the end.
  void StopAll();
  void StartHiAndEx();
  void StartLow();
  void StopHi();   // a refused close request
  void StopLow();  // while the computer-use password is asked
  void SetExInterval(int seconds);

  ports::Timer& HiTimer() { return *hi_; }
  ports::Timer& ExTimer() { return *ex_; }
  ports::Timer& LowTimer() { return *low_; }

 private:
  // True when the computer-use password is being asked now.
  bool ComputerUseRefused();

  CoreContext& ctx_;
  std::unique_ptr<ports::Timer> hi_;
  std::unique_ptr<ports::Timer> ex_;
  std::unique_ptr<ports::Timer> low_;
};

}  // namespace pelorin
