#include "core/TF_Pass.h"

#include <algorithm>

#include "core/CoreHotkeys.h"
#include "core/MainMenu.h"
#include "core/ProfileLoader.h"
#include "core/TF_Main.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

constexpr int kPasswordTimerInterval = 100;

}  // namespace

TF_Pass::TF_Pass(CoreContext& ctx)
    : ctx_(ctx),
      passwordTimer_(ctx.ports.timers.Create("PasswordTimer", kPasswordTimerInterval,
                                             [this] { PasswordTimerTimer(); })),
      timeoutTimer_(ctx.ports.timers.Create("PassTimeoutTimer", 0, [this] {
        timeoutTimer_->SetEnabled(false);
        TimeoutElapsed();
      })) {}

TF_Pass::~TF_Pass() = default;

bool TF_Pass::Ended() const {
  return ctx_.main != nullptr && ctx_.main->Ended();
}

void TF_Pass::Notify() {
  if (changed) changed();
}

void TF_Pass::Request(Action action, const std::string& text, const std::string& expectedPassword,
                      int timeoutMs, bool cancelEnabled) {
  if (Ended()) return;
  text_ = text;
  expected_ = expectedPassword;
  timeoutMs_ = std::max(timeoutMs, 0);
  cancelEnabled_ = cancelEnabled;
  pending_ = action;
  passwordTimer_->SetEnabled(true);
  ShowPassword();
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
  Notify();
}

void TF_Pass::Close() {
  visible_ = false;
  timeoutTimer_->SetEnabled(false);
  Notify();
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
  if (pending_ == kProfileChange) ProfileChangeCancelled();
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
    // A cancelled profile change was handled by the Cancel button itself; what the
    // other actions do on cancel comes with their applets.
    Finish();
  } else if (entered_ == expected_) {
    Accepted(pending_);
  }
}

void TF_Pass::Accepted(Action action) {
  switch (action) {
    case kProfileChange:
      ProfileChangeAccepted();
      break;
    case kExit:
      Finish();
      ctx_.values.Running = true;
      ctx_.main->SaveAndQuit();
      break;
    default:
      // The other actions open applets that are not built yet: the request is dropped.
      Finish();
      break;
  }
}

void TF_Pass::ProfileChangeAccepted() {
  SharedValues& v = ctx_.values;
  ctx_.view.SetTrayIcon(v.TrayIcon || v.Hotkeys.MenuKey.Key == 0, true, false);
  Finish();
  v.StartupSelection = false;
  ctx_.loader->LoadProfile(v.Current.path);
  if (Ended()) return;
  v.ProfileActive = true;
  v.ProfileSwitchPending = false;
  ctx_.hotkeys->RegisterHotkeys();
  ctx_.menu->CheckProfile(v.Current.number);
  const int number = v.Current.number;
  ReportWriteErrors(ctx_.ports.dialogs, [this, number] {
    ctx_.files.ChangeSystemSettings([number](SettingsFile& system) {
      system.WriteInteger("System", "CurrentProfile", number);
    });
  });
}

void TF_Pass::ProfileChangeCancelled() {
  SharedValues& v = ctx_.values;
  if (v.StartupSelection && !v.FromSelector) {
    ports::MessageRequest message;
    message.text = "Impossible to enter in Pelorin : current profile is under password protection!";
    message.caption = "Security System";
    message.icon = ports::DialogIcon::Error;
    ctx_.ports.dialogs.Show(message);
    ctx_.main->QuitNow();
    return;
  }
  // A cancel that came from the profile selection window returns to it once that
  // window exists.
  if (v.ProfileSwitchPending) {
    v.Current = v.Previous;
    v.ProfileActive = true;
    v.ProfileSwitchPending = false;
    ctx_.hotkeys->RegisterHotkeys();
  }
}

}  // namespace pelorin
