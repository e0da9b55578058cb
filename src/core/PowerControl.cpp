#include "core/PowerControl.h"

#include <string_view>
#include <utility>

#include "core/CoreHotkeys.h"
#include "core/MenuItemIds.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

using ports::PowerAnswer;
using ports::PowerCall;

// The system announces a sleep as soon as it accepts the call (its delay locks hold the
// sleep itself back, not the announcement); an accepted hibernate or sleep that has not
// begun after this long is not coming.
constexpr int kSleepStartWaitMs = 10000;

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
    {menu_item::kPowerOff, PowerControl::kTurnOff},
    {menu_item::kHibernate, PowerControl::kHibernate},
    {menu_item::kSleep, PowerControl::kSleep},
    {menu_item::kRestart, PowerControl::kRestart},
};

constexpr const char* kPowerHotkeyKeys[] = {"Func1", "Func2", "Func3"};

}  // namespace

PowerControl::PowerControl(CoreContext& ctx, CoreHotkeys& hotkeys)
    : ctx_(ctx),
      hotkeys_(hotkeys),
      sleepStartWait_(ctx.ports.timers.Create("PowerSleepStartWait", kSleepStartWaitMs,
                                              [this] { SleepDidNotBegin(); })),
      sleepFromSystem_(ctx.sleep.Subscribe([this](bool suspending) {
        WMPowerBroadcast(suspending ? kSuspendEvent : kResumeEvent);
      })) {
  BindSteps();
}

PowerControl::~PowerControl() = default;

void PowerControl::BindSteps() {
  constexpr SubsystemId core = SubsystemId::Core;
  SuiteSteps& steps = ctx_.steps;
  const SharedValues& v = ctx_.values;
  steps.loadProfile.Bind(LoadStep::kSleepIndicatorOff, core, [this] { sleeping_ = false; });
  steps.suspend.Bind(SuspendStep::kSetSleeping, core, [this] { sleeping_ = true; });
  steps.suspend.Bind(SuspendStep::kShowSleepWindow, core, [this, &v] {
    if (v.SleepShow) sleep_.Show(std::string(TF_Sleep::kSleeping));
  });
  steps.resume.Bind(ResumeStep::kClearSleeping, core, [this] { sleeping_ = false; });
  steps.resume.Bind(ResumeStep::kSleepWindowRestored, core, [this, &v] {
    if (v.SleepShow) sleep_.SetCurMode(std::string(TF_Sleep::kRestored));
  });
  for (const char* item :
       {menu_item::kPowerOff, menu_item::kHibernate, menu_item::kSleep, menu_item::kRestart}) {
    ctx_.commands.Bind(item, core, [this, item] { MenuClick(item); });
  }
  hotkeys_.BindPress(HotkeySource::kKey1, core, [this](const THotkey&) { PowerHotkey(1); });
  hotkeys_.BindPress(HotkeySource::kKey2, core, [this](const THotkey&) { PowerHotkey(2); });
  hotkeys_.BindPress(HotkeySource::kKey3, core, [this](const THotkey&) { PowerHotkey(3); });
}

bool PowerControl::Ended() const {
  return ctx_.lifetime.Ended();
}

ports::PowerReply PowerControl::Reply(void (PowerControl::*then)(int, PowerAnswer), int kind) {
  return [self = std::weak_ptr<PowerControl*>(self_), then, kind](PowerAnswer answer) {
    if (const auto alive = self.lock()) ((**alive).*then)(kind, answer);
  };
}

void PowerControl::PowerAction(int kind, std::function<void()> whenDone) {
  if (Ended()) return;
  if (ActionUnderway()) {
    // One action at a time: this request is over when the one on its way is.
    if (whenDone) whenDone_.push_back(std::move(whenDone));
    return;
  }
  const KindCall* row = FindKind(kind);
  if (row == nullptr) {
    if (whenDone) whenDone();
    return;
  }
  if (whenDone) whenDone_.push_back(std::move(whenDone));
  ports::Power& power = ctx_.ports.power;
  if (!row->endsSession) {
    stage_ = Stage::Performing;
    actionSleepBegan_ = actionSleepOver_ = false;
    power.Perform(row->call, Reply(&PowerControl::SleepKindPerformed, kind));
    return;
  }
  // Nothing is saved or closed unless the system will carry the action out.
  stage_ = Stage::Asking;
  power.Allowed(row->call, Reply(&PowerControl::EndingKindAllowed, kind));
}

void PowerControl::EndingKindAllowed(int kind, PowerAnswer answer) {
  if (Ended()) return;
  if (answer != PowerAnswer::Yes) {
    ShowRefusal(kind, answer, false);
    FinishAction();
    return;
  }
  ctx_.lifetime.PrepareShutdown();
  if (Ended()) return;
  // Everything is saved and released: nothing of the suite runs on while the system
  // answers.
  ctx_.lifetime.stopTimers();
  stage_ = Stage::Performing;
  ctx_.ports.power.Perform(FindKind(kind)->call, Reply(&PowerControl::EndingKindPerformed, kind));
}

void PowerControl::EndingKindPerformed(int kind, PowerAnswer answer) {
  if (Ended()) return;
  // The suite ends whatever the answer.
  if (answer != PowerAnswer::Yes) ShowRefusal(kind, answer, true);
  stage_ = Stage::Idle;
  ctx_.lifetime.QuitNow();
}

void PowerControl::SleepKindPerformed(int kind, PowerAnswer answer) {
  if (Ended()) return;
  if (answer != PowerAnswer::Yes) ShowRefusal(kind, answer, false);
  if (Ended()) return;
  if (actionSleepBegan_ && !actionSleepOver_) {
    // The computer is going to sleep anyway: the action is over when it wakes.
    stage_ = Stage::AwaitingWake;
  } else if (answer == PowerAnswer::Yes && !actionSleepBegan_) {
    stage_ = Stage::AwaitingSleep;
    sleepStartWait_->SetEnabled(true);
  } else {
    FinishAction();
  }
}

void PowerControl::FollowSleepOfAction(int event) {
  if (stage_ != Stage::Performing && stage_ != Stage::AwaitingSleep &&
      stage_ != Stage::AwaitingWake) {
    return;
  }
  if (event == kSuspendEvent) {
    actionSleepBegan_ = true;
    actionSleepOver_ = false;
    sleepStartWait_->SetEnabled(false);
    if (stage_ == Stage::AwaitingSleep) stage_ = Stage::AwaitingWake;
  } else if ((event == kResumeEvent || event == kAutomaticResumeEvent) && actionSleepBegan_) {
    actionSleepOver_ = true;
    if (stage_ == Stage::AwaitingWake) FinishAction();
  }
}

void PowerControl::SleepDidNotBegin() {
  sleepStartWait_->SetEnabled(false);
  if (stage_ == Stage::AwaitingSleep) FinishAction();
}

void PowerControl::FinishAction() {
  stage_ = Stage::Idle;
  sleepStartWait_->SetEnabled(false);
  // A handler may start the next action: the list is taken first.
  std::vector<std::function<void()>> done = std::move(whenDone_);
  whenDone_.clear();
  for (const std::function<void()>& run : done) {
    if (Ended()) return;
    run();
  }
}

void PowerControl::ShowRefusal(int kind, PowerAnswer answer, bool closing) {
  std::string text(RefusalText(FindKind(kind)->call));
  if (answer == PowerAnswer::NoAnswer) text += "\r\rThe system did not answer in time.";
  if (closing) text += "\r\rPelorin has saved its data and closes now.";
  ctx_.ports.dialogs.Show(ports::MessageRequest{.text = std::move(text),
                                                .caption = "Pelorin",
                                                .icon = ports::DialogIcon::Error,
                                                .buttons = ports::DialogButtons::Ok});
}

bool PowerControl::Confirmed(int kind, bool systemModal) {
  for (const Question& question : kQuestions) {
    if (question.kind != kind) continue;
    const ports::MessageRequest request{.text = std::string(question.text),
                                        .caption = std::string(question.caption),
                                        .icon = ports::DialogIcon::Warning,
                                        .buttons = ports::DialogButtons::YesNo,
                                        .systemModal = systemModal};
    return ctx_.ports.dialogs.Show(request) == ports::DialogAnswer::Yes;
  }
  return true;
}

void PowerControl::MenuClick(const std::string& itemId) {
  // A request while an action is on its way is ignored, without its question.
  if (Ended() || ActionUnderway()) return;
  for (const MenuKind& item : kMenuKinds) {
    if (item.itemId != itemId) continue;
    // The menu's questions belong to the main window.
    if (Confirmed(item.kind, false)) PowerAction(item.kind);
    return;
  }
}

void PowerControl::PowerHotkey(int which) {
  if (Ended() || ActionUnderway() || which < 1 || which > 3) return;
  const int kind = SettingsFile(ctx_.values.ProfileDir / "pcagent.hif")
                       .ReadInteger("Power", kPowerHotkeyKeys[which - 1], 0);
  // Only the first power key asks, above every window of the desktop.
  if (which == 1 && !Confirmed(kind, true)) return;
  PowerAction(kind);
}

int PowerControl::WMPowerBroadcast(int event) {
  const SharedValues& v = ctx_.values;
  if (Ended()) return kEventAnswer;
  if (v.ProfileActive && !v.ProfileSwitchPending) {
    if (event == kSuspendEvent) {
      Suspend();
    } else if ((event == kResumeEvent || event == kAutomaticResumeEvent) && sleeping_) {
      Resume();
    }
  }
  // A hibernate or sleep of the suite's own is over once the suite is awake again,
  // whether or not it paused for the sleep.
  if (!Ended()) FollowSleepOfAction(event);
  return kEventAnswer;
}

void PowerControl::Suspend() {
  ctx_.steps.suspend.Run([this] { return !Ended(); });
}

void PowerControl::Resume() {
  ctx_.steps.resume.Run([this] { return !Ended(); });
}

}  // namespace pelorin
