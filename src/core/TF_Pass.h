#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/CoreContext.h"
#include "core/PasswordActions.h"
#include "ports/Screen.h"
#include "ports/Timers.h"

namespace pelorin {

// The password dialog and the request protocol around it: a request fills the dialog,
// sets the pending action and starts the 100 ms password timer, which carries the
// action out when the dialog was accepted or cancelled. With an empty expected
// password nothing is shown and the request is accepted on the next tick.
class TF_Pass : public PasswordGate {
 public:
  // The pending actions, by their codes.
  using Action = PasswordAction;
  static constexpr Action kNone = kNoPasswordAction;
  static constexpr Action kHiddenCdAgent = kHiddenCdAgentAction;
  static constexpr Action kDiscPassword = kDiscPasswordAction;
  static constexpr Action kPreferencesPage = kPreferencesPageAction;
  static constexpr Action kUnlock = kUnlockAction;
  static constexpr Action kPreferences = kPreferencesAction;
  static constexpr Action kHiddenPcAgent = kHiddenPcAgentAction;
  static constexpr Action kProfileChange = kProfileChangeAction;
  static constexpr Action kDayBook = kDayBookAction;
  static constexpr Action kExit = kExitAction;
  static constexpr Action kComputerUse = kComputerUseAction;

  explicit TF_Pass(CoreContext& ctx);
  ~TF_Pass() override;

  // Whether a request for `action` would be taken now. A waiting computer-use request
  // or profile change is never displaced by a request of another kind: the first holds
  // the computer-use limit, the second the suite's profile state, and both must end
  // through their own outcome. (A profile change may be replaced by another one: the
  // user chose a different profile.) Before a profile has been loaded its passwords
  // are not known, so nothing but the profile change itself is asked.
  bool Accepts(Action action) const override;
  // Starts a request (ShowPassword included) with the action's own text. False when the
  // request is refused (see Accepts): nothing was shown and nothing is pending for it.
  bool Request(Action action, const std::string& expectedPassword, int timeoutMs,
               bool cancelEnabled) override;
  Action Pending() const override { return pending_; }

  // The dialog's controls.
  void OkClick(const std::string& typed);  // OK button or Enter
  void CancelClick();                      // Cancel button (only when enabled)
  void EscapePressed();                    // Cancel where Cancel is enabled, else nothing
  void TimeoutElapsed();

  void PasswordTimerTimer();

  // Where the dialog stands on the screen (the widget tells it each time it is shown
  // or moved): the mouse pointer is held inside it while it is shown, and a move
  // takes the hold along.
  void SetDialogRect(int left, int top, int width, int height);
  // Every millisecond while the dialog is shown and the screen refused to confine the
  // pointer: the pointer back inside the dialog.
  void CursorTimerTimer();

  // The identifier under which Alt+Tab is taken from the desktop while the dialog is
  // shown, so that the user cannot switch away from it.
  static constexpr int kTaskSwitchHotkey = 0x0001;

  // What the dialog shows.
  bool Visible() const { return visible_; }
  const std::string& Text() const { return text_; }
  bool CancelEnabled() const { return cancelEnabled_; }
  int Timeout() const { return timeoutMs_; }
  Action PendingAction() const { return pending_; }
  ports::Notification<> changed;  // the widget re-reads the state

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
  void Cancelled(Action action);
  // While the dialog is shown: Alt+Tab taken and the pointer held inside it.
  void HoldUser(bool hold);
  // The pointer held inside the dialog's rectangle shrunk by the margin: confined by
  // the screen, or by the cursor timer where the screen refuses.
  void HoldPointer();
  void ReleasePointer();
  bool DialogPlaceKnown() const;
  ports::ScreenArea PointerArea() const;

  CoreContext& ctx_;
  std::unique_ptr<ports::Timer> passwordTimer_;
  std::unique_ptr<ports::Timer> timeoutTimer_;  // the dialog cancels itself
  std::unique_ptr<ports::Timer> cursorTimer_;   // holds the pointer where it cannot be confined
  int dialogLeft_ = 0, dialogTop_ = 0, dialogWidth_ = 0, dialogHeight_ = 0;
  bool holding_ = false;
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
