#include "core/TF_Pass.h"

#include <algorithm>

#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

constexpr int kPasswordTimerInterval = 100;
constexpr int kCursorTimerInterval = 1;
constexpr int kCursorMargin = 5;  // the pointer stays this far inside the dialog's edges
constexpr unsigned kAltModifier = 1;
constexpr int kTabKey = 0x09;

}  // namespace

TF_Pass::TF_Pass(CoreContext& ctx)
    : ctx_(ctx),
      passwordTimer_(ctx.ports.timers.Create("PasswordTimer", kPasswordTimerInterval,
                                             [this] { PasswordTimerTimer(); })),
      timeoutTimer_(ctx.ports.timers.Create("PassTimeoutTimer", 0,
                                            [this] {
                                              timeoutTimer_->SetEnabled(false);
                                              TimeoutElapsed();
                                            })),
      cursorTimer_(ctx.ports.timers.Create("PassCursorTimer", kCursorTimerInterval,
                                           [this] { CursorTimerTimer(); })) {}

TF_Pass::~TF_Pass() = default;

bool TF_Pass::Ended() const {
  return ctx_.lifetime.Ended();
}

void TF_Pass::Notify() {
  changed();
}

bool TF_Pass::Accepts(Action action) const {
  if (Ended()) return false;
  if (action != kProfileChange && !ctx_.values.ProfileLoaded) return false;
  if (pending_ == kComputerUse && action != kComputerUse) return false;
  if (pending_ == kProfileChange && action != kProfileChange) return false;
  return true;
}

bool TF_Pass::Request(Action action, const std::string& expectedPassword, int timeoutMs,
                      bool cancelEnabled) {
  const PasswordActionRow* row = PasswordActions::Row(action);
  if (row == nullptr || !Accepts(action)) return false;
  text_ = std::string(row->text);
  expected_ = expectedPassword;
  timeoutMs_ = std::max(timeoutMs, 0);
  cancelEnabled_ = cancelEnabled;
  pending_ = action;
  passwordTimer_->SetEnabled(true);
  ShowPassword();
  return true;
}

void TF_Pass::ShowPassword() {
  entered_.clear();
  cancelled_ = false;
  timeoutTimer_->SetEnabled(false);
  // Without a password nothing is shown (a dialog left open by an earlier request
  // closes): the request is accepted on the next tick.
  visible_ = !expected_.empty();
  if (visible_ && timeoutMs_ > 0) {
    timeoutTimer_->SetInterval(timeoutMs_);
    timeoutTimer_->SetEnabled(true);
  }
  HoldUser(visible_);
  Notify();
}

void TF_Pass::Close() {
  visible_ = false;
  timeoutTimer_->SetEnabled(false);
  HoldUser(false);
  Notify();
}

void TF_Pass::HoldUser(bool hold) {
  if (hold) {
    HoldPointer();
  } else {
    ReleasePointer();
  }
  if (hold == holding_) return;
  holding_ = hold;
  // Only Alt+Tab is taken, not the whole keyboard: the menu, the hot-keys and the
  // timers keep working while the dialog waits.
  if (hold) {
    ctx_.ports.hotkeys.Register(kTaskSwitchHotkey, kAltModifier, kTabKey);
  } else {
    ctx_.ports.hotkeys.Unregister(kTaskSwitchHotkey);
  }
}

bool TF_Pass::DialogPlaceKnown() const {
  return dialogWidth_ > 2 * kCursorMargin && dialogHeight_ > 2 * kCursorMargin;
}

ports::ScreenArea TF_Pass::PointerArea() const {
  return {dialogLeft_ + kCursorMargin, dialogTop_ + kCursorMargin,
          dialogLeft_ + dialogWidth_ - kCursorMargin, dialogTop_ + dialogHeight_ - kCursorMargin};
}

void TF_Pass::HoldPointer() {
  // Before the widget has told where it stands there is nothing to hold to; it tells
  // as soon as it is shown.
  if (!DialogPlaceKnown()) {
    cursorTimer_->SetEnabled(false);
    return;
  }
  // The screen's own confinement costs nothing while the dialog waits. Where it is
  // refused (another program holds the pointer, or no X display) the cursor timer
  // brings the pointer back every millisecond instead, so that the hold still stands.
  cursorTimer_->SetEnabled(!ctx_.ports.screen.ConfinePointer(PointerArea()));
}

void TF_Pass::ReleasePointer() {
  cursorTimer_->SetEnabled(false);
  ctx_.ports.screen.ReleasePointer();
}

void TF_Pass::SetDialogRect(int left, int top, int width, int height) {
  dialogLeft_ = left;
  dialogTop_ = top;
  dialogWidth_ = width;
  dialogHeight_ = height;
  if (holding_ && visible_) HoldPointer();
}

void TF_Pass::CursorTimerTimer() {
  if (Ended() || !visible_) {
    cursorTimer_->SetEnabled(false);
    return;
  }
  if (!DialogPlaceKnown()) return;
  const ports::ScreenPoint at = ctx_.ports.screen.GetCursorXY();
  const ports::ScreenPoint held = PointerArea().Nearest(at);
  if (!(held == at)) ctx_.ports.screen.SetCursorXY(held);
}

void TF_Pass::Finish() {
  passwordTimer_->SetEnabled(false);
  pending_ = kNone;
}

std::string TF_Pass::MasterPassword() const {
  std::string master;
  ctx_.files.ReadSystemSettings([&master](const SettingsFile& system) {
    master = system.ReadString("System", "MasterPass", "");
  });
  return master;
}

void TF_Pass::OkClick(const std::string& typed) {
  if (Ended() || !visible_) return;
  entered_ = typed;
  if (typed != expected_) {
    const std::string master = MasterPassword();
    if (Ended()) return;
    if (master.empty() || typed != master) return;  // a wrong password: the dialog stays
  }
  expected_ = entered_;
  cancelled_ = false;
  Close();
}

void TF_Pass::CancelClick() {
  if (Ended() || !visible_ || !cancelEnabled_) return;
  cancelled_ = true;
  timeoutTimer_->SetEnabled(false);
  // The pointer and Alt+Tab are let go before the cancel's handling, whose message
  // (the start profile's refusal) must be reachable.
  HoldUser(false);
  const PasswordOutcome& outcome = ctx_.passwordActions.Outcome(pending_);
  if (outcome.cancelButton) outcome.cancelButton();
  Close();
}

void TF_Pass::EscapePressed() {
  // Escape cancels where Cancel may be pressed; elsewhere the dialog stays, so that a
  // request can never be left waiting without a dialog on screen.
  if (cancelEnabled_) CancelClick();
}

void TF_Pass::TimeoutElapsed() {
  if (Ended() || !visible_) return;
  cancelled_ = true;
  Close();
}

void TF_Pass::PasswordTimerTimer() {
  if (Ended()) {
    passwordTimer_->SetEnabled(false);
    return;
  }
  if (cancelled_) {
    Cancelled(pending_);
  } else if (entered_ == expected_) {
    Accepted(pending_);
  }
}

void TF_Pass::Accepted(Action action) {
  // The request is over before its action runs: the action may ask anew.
  Finish();
  const PasswordOutcome& outcome = ctx_.passwordActions.Outcome(action);
  if (outcome.accepted) outcome.accepted();
}

void TF_Pass::Cancelled(Action action) {
  Finish();
  const PasswordOutcome& outcome = ctx_.passwordActions.Outcome(action);
  if (outcome.cancelled) outcome.cancelled();
}

}  // namespace pelorin
