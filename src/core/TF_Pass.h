#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/CoreContext.h"
#include "ports/Timers.h"

namespace pelorin {

// The password dialog and the request protocol around it: a request fills the dialog,
// sets the pending action and starts the 100 ms password timer, which carries the
// action out when the dialog was accepted or cancelled. With an empty expected
// password nothing is shown and the request is accepted on the next tick.
class TF_Pass {
 public:
  // The pending actions.
  enum Action {
    kNone = 0,
    kHiddenCdAgent = 1,
    kDiscPassword = 2,
    kPreferencesPage = 3,
    kUnlock = 4,
    kPreferences = 5,
    kHiddenPcAgent = 6,
    kProfileChange = 7,
    kDayBook = 8,
    kExit = 9,
    kComputerUse = 10,
  };

  explicit TF_Pass(CoreContext& ctx);
  ~TF_Pass();

  // Starts a request (ShowPassword included).
  void Request(Action action, const std::string& text, const std::string& expectedPassword,
               int timeoutMs, bool cancelEnabled);

  // The dialog's controls.
  void OkClick(const std::string& typed);  // OK button or Enter
  void CancelClick();                      // Cancel button (only when enabled)
  void EscapePressed();                    // Cancel where Cancel is enabled, else nothing
  void TimeoutElapsed();

  void PasswordTimerTimer();

  // What the dialog shows.
  bool Visible() const { return visible_; }
  const std::string& Text() const { return text_; }
  bool CancelEnabled() const { return cancelEnabled_; }
  int Timeout() const { return timeoutMs_; }
  Action PendingAction() const { return pending_; }
  std::function<void()> changed;  // the widget re-reads the state

 private:
  void ShowPassword();
  void Close();
  void Notify();
  // The request is over: the password timer stops and nothing is pending.
  void Finish();
  bool Ended() const;
  // pelorin.hf System/MasterPass: a password that opens every request; empty = none.
  std::string MasterPassword() const;
  void Accepted(Action action);
  void ProfileChangeAccepted();
  void ProfileChangeCancelled();

  CoreContext& ctx_;
  std::unique_ptr<ports::Timer> passwordTimer_;
  std::unique_ptr<ports::Timer> timeoutTimer_;  // the dialog cancels itself
  Action pending_ = kNone;
  std::string text_ = "Enter password to access to these preferences.";
  std::string expected_;
  std::string entered_;
  bool cancelled_ = false;
  bool cancelEnabled_ = false;
  int timeoutMs_ = 0;
  bool visible_ = false;
};

}  // namespace pelorin
