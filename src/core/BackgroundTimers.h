#pragma once

#include <memory>

#include "core/ComputerUseHours.h"
#include "core/CoreContext.h"
#include "ports/Dialogs.h"
#include "ports/Timers.h"

namespace pelorin {

class PasswordGate;
class PowerControl;

// The main window's three background timers (HiTimer 200 ms, ExTimer every
// ExInterval seconds, LowTimer 1 s), which run while a profile is active, and the
// handler that keeps the floating windows on top when another program is activated.
// Each tick runs the rows of its step table; this class fills the core's own rows: the
// companion program, the application title, the taskbar button, the allowed
// computer-use hours and the autostart entry.
class BackgroundTimers {
 public:
  BackgroundTimers(CoreContext& ctx, PasswordGate& passwords, PowerControl& power);
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

  // The to-All answer of the existence checks of the current ExTimer tick (Ok: none yet).
  ports::DialogAnswer& ExTickAnswer() { return exAnswer_; }

  // Whether the suite started the companion and waits for its window.
  bool CompanionStarted() const { return companionStarted_; }
  // The allowed computer-use hours (wimpcax2.hf POWER, read by LoadProfile) and whether
  // they are checked (until the right password was given outside them).
  const ComputerUseHours& ComputerUse() const { return computerUse_; }
  bool ComputerUseCheckAllowed() const { return computerUseCheckAllowed_; }

 private:
  void BindSteps();
  // The 200 ms tick's own step: the companion greeted once after the suite started
  // it, started when missing.
  void LookAfterCompanion();
  // True when the computer-use password is being asked now.
  bool ComputerUseRefused();
  bool Ended() const { return ctx_.lifetime.Ended(); }

  CoreContext& ctx_;
  PasswordGate& passwords_;
  PowerControl& power_;
  std::unique_ptr<ports::Timer> hi_;
  std::unique_ptr<ports::Timer> ex_;
  std::unique_ptr<ports::Timer> low_;
  ports::Subscription stopAtEnd_;
  ports::DialogAnswer exAnswer_ = ports::DialogAnswer::Ok;
  bool companionStarted_ = false;
  ComputerUseHours computerUse_;
  bool computerUseCheckAllowed_ = false;
};

}  // namespace pelorin
