#include "core/PowerControl.h"

#include <string_view>

#include "core/CoreHotkeys.h"
#include "core/ProfileLoader.h"
#include "core/StatusStrip.h"
#include "core/TF_Main.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

using ports::PowerCall;

struct KindCall {
  int kind;
  PowerCall call;
  bool endsSession;  // the suite saves and ends itself around the call
};

constexpr KindCall kKindCalls[] = {
    {PowerControl::kTurnOff, PowerCall::PowerOff, true},
    {PowerControl::kShutDown, PowerCall::PowerOff, true},
    {PowerControl::kHibernate, PowerCall::Hibernate, false},
    {PowerControl::kSleep, PowerCall::Suspend, false},
    {PowerControl::kRestart, PowerCall::Reboot, true},
    {PowerControl::kLogOff, PowerCall::LogOff, true},
};

const KindCall* FindKind(int kind) {
  for (const KindCall& row : kKindCalls) {
    if (row.kind == kind) return &row;
  }
  return nullptr;
}

// The question asked before a kind; sleep has none.
struct Question {
  int kind;
  std::string_view text;
  std::string_view caption;
};

constexpr Question kQuestions[] = {
    {PowerControl::kTurnOff, "Do you really want to power off your computer?", "Power off"},
    {PowerControl::kShutDown, "Do you really want to shut down Windows?", "Shut down"},
    {PowerControl::kHibernate, "Do you really want to hibernate?", "Hibernate"},
    {PowerControl::kRestart, "Do you really want to restart Windows?", "Restart"},
    {PowerControl::kLogOff, "Do you really want to log off current user?", "Log off"},
};

// What the user is told when the system does not allow a call.
std::string_view RefusalText(PowerCall call) {
  switch (call) {
    case PowerCall::PowerOff:
      return "The system does not allow the computer to be turned off now.";
    case PowerCall::Reboot:
      return "The system does not allow the computer to be restarted now.";
    case PowerCall::LogOff:
      return "The system does not allow the current user to be logged off now.";
    case PowerCall::Suspend:
      return "The system does not allow the computer to be put to sleep now.";
    case PowerCall::Hibernate:
      return "The system does not allow the computer to hibernate now.";
  }
  return {};
}

// The Power menu's items and the kinds they perform.
struct MenuKind {
  std::string_view itemId;
  int kind;
};

constexpr MenuKind kMenuKinds[] = {
    {"MainPopup_PowerOff", PowerControl::kTurnOff},
    {"MainPopup_Hibernate", PowerControl::kHibernate},
    {"MainPopup_Sleep", PowerControl::kSleep},
    {"MainPopup_Restart", PowerControl::kRestart},
};

constexpr const char* kPowerHotkeyKeys[] = {"Func1", "Func2", "Func3"};

}  // namespace

PowerControl::PowerControl(CoreContext& ctx) : ctx_(ctx) {}

PowerControl::~PowerControl() {
  if (attached_) ctx_.ports.power.SetOnSleep(nullptr);
}

void PowerControl::Attach() {
  attached_ = true;
  ctx_.ports.power.SetOnSleep(
      [this](bool suspending) { WMPowerBroadcast(suspending ? kSuspendEvent : kResumeEvent); });
}

bool PowerControl::Ended() const {
  return ctx_.main != nullptr && ctx_.main->Ended();
}

void PowerControl::PowerAction(int kind, std::function<void()> whenDone) {
  if (Ended()) return;
  const auto done = [this, &whenDone] {
    if (whenDone && !Ended()) whenDone();
  };
  const KindCall* row = FindKind(kind);
  if (row == nullptr) {
    done();
    return;
  }
  ports::Power& power = ctx_.ports.power;
  if (!row->endsSession) {
    if (!power.Perform(row->call)) ShowRefusal(kind, false);
    done();
    return;
  }
  // Nothing is saved or closed unless the system will carry the action out.
  if (!power.Allowed(row->call)) {
    ShowRefusal(kind, false);
    done();
    return;
  }
  ctx_.main->PrepareShutdown();
  if (Ended()) return;
  // Everything is saved and released by now: the suite ends whatever the answer.
  if (!power.Perform(row->call)) ShowRefusal(kind, true);
  ctx_.main->QuitNow();
}

void PowerControl::ShowRefusal(int kind, bool closing) {
  ports::MessageRequest message;
  message.text = std::string(RefusalText(FindKind(kind)->call));
  if (closing) message.text += "\r\rPelorin has saved its data and closes now.";
  message.caption = "Pelorin";
  message.icon = ports::DialogIcon::Error;
  message.buttons = ports::DialogButtons::Ok;
  ctx_.ports.dialogs.Show(message);
}

bool PowerControl::Confirmed(int kind, bool systemModal) {
  for (const Question& question : kQuestions) {
    if (question.kind != kind) continue;
    ports::MessageRequest request;
    request.text = std::string(question.text);
    request.caption = std::string(question.caption);
    request.icon = ports::DialogIcon::Warning;
    request.buttons = ports::DialogButtons::YesNo;
    request.systemModal = systemModal;
    return ctx_.ports.dialogs.Show(request) == ports::DialogAnswer::Yes;
  }
  return true;
}

void PowerControl::MenuClick(const std::string& itemId) {
  if (Ended()) return;
  for (const MenuKind& item : kMenuKinds) {
    if (item.itemId != itemId) continue;
    // The menu's questions belong to the main window.
    if (Confirmed(item.kind, false)) PowerAction(item.kind);
    return;
  }
}

void PowerControl::PowerHotkey(int which) {
  if (Ended() || which < 1 || which > 3) return;
  const int kind = SettingsFile(ctx_.values.ProfileDir / "pcagent.hif")
                       .ReadInteger("Power", kPowerHotkeyKeys[which - 1], 0);
  // Only the first power key asks, above every window of the desktop.
  if (which == 1 && !Confirmed(kind, true)) return;
  PowerAction(kind);
}

int PowerControl::WMPowerBroadcast(int event) {
  const SharedValues& v = ctx_.values;
  if (Ended() || !v.ProfileActive || v.ProfileSwitchPending) return kEventAnswer;
  if (event == kSuspendEvent) {
    Suspend();
  } else if ((event == kResumeEvent || event == kAutomaticResumeEvent) && sleeping_) {
    Resume();
  }
  return kEventAnswer;
}

void PowerControl::Suspend() {
  sleeping_ = true;
  // The organizer's timer stops here once the organizer exists.
  // The CD player's timer stops here once the CD player exists.
  // The reminder's RemTimer stops here once the reminder exists.
  if (ctx_.strip) ctx_.strip->StopTimers();
  // The CD agent's disc detection stops here once the CD agent exists.
  // The reminder's StopRing silences a ringing alarm here once the reminder exists.
  ctx_.main->CloseAllWindows();
  // The organizer's message pop-up is hidden here once the organizer exists.
  // The volume fly-out is hidden here once the fly-out exists.
  ctx_.hotkeys->UnregisterHotkeys();
  if (ctx_.values.SleepShow) sleep_.Show(std::string(TF_Sleep::kSleeping));
}

void PowerControl::Resume() {
  sleeping_ = false;
  // The PC agent's next wallpaper change (now plus its interval) is set here once the
  // PC agent exists.
  // The organizer rebuilds its trigger state here, as at a profile load, once it exists.
  // The organizer's, CD player's and reminder's timers start here once they exist.
  if (ctx_.strip) ctx_.strip->StartTimers();
  // The CD agent examines every drive anew at its next detection once it exists.
  // The volume fly-out is shown again at (50, 35), size zero, here once it exists.
  ctx_.hotkeys->RegisterHotkeys();
  if (ctx_.values.SleepShow) sleep_.SetCurMode(std::string(TF_Sleep::kRestored));
  // The PC agent's "change after restoring power" option is armed here once it exists.
  const SharedValues& v = ctx_.values;
  if (v.StartVol && v.MixID >= 0 && v.DestID >= 0) ctx_.loader->ApplyStartVolume();
}

}  // namespace pelorin
