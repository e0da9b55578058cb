#include "core/BackgroundTimers.h"

#include <limits>

#include "core/PasswordActions.h"
#include "core/PowerControl.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

constexpr int kHiIntervalMs = 200;
constexpr int kLowIntervalMs = 1000;
constexpr int kComputerUseTimeoutMs = 15000;

// The existence-check period: seconds as milliseconds, 0 (never) for a period that is
// 0, negative or too long to count in milliseconds.
int ExIntervalMs(int seconds) {
  if (seconds <= 0 || seconds > std::numeric_limits<int>::max() / 1000) return 0;
  return seconds * 1000;
}

}  // namespace

BackgroundTimers::BackgroundTimers(CoreContext& ctx, PasswordGate& passwords, PowerControl& power)
    : ctx_(ctx),
      passwords_(passwords),
      power_(power),
      hi_(ctx.ports.timers.Create("HiTimer", kHiIntervalMs, [this] { HiTimerTimer(); })),
      ex_(ctx.ports.timers.Create("ExTimer", ExIntervalMs(ctx.values.ExInterval),
                                  [this] { ExTimerTimer(); })),
      low_(ctx.ports.timers.Create("LowTimer", kLowIntervalMs, [this] { LowTimerTimer(); })),
      stopAtEnd_(ctx.lifetime.stopTimers.Subscribe([this] { StopAll(); })) {
  BindSteps();
}

BackgroundTimers::~BackgroundTimers() = default;

void BackgroundTimers::BindSteps() {
  constexpr SubsystemId core = SubsystemId::Core;
  SuiteSteps& steps = ctx_.steps;
  SharedValues& v = ctx_.values;

  steps.loadProfile.Bind(LoadStep::kStopBackgroundTimers, core, [this] { StopAll(); });
  // The allowed computer-use hours and their power function; the rest of wimpcax2.hf
  // (the date control and the volume lock) is the PC agent's.
  steps.loadProfile.BindUntil(LoadStep::kReadComputerUseHours, core, [this] {
    return ctx_.files.ReadScrambled("wimpcax2", [this](const SettingsFile& wimpcax2) {
      ComputerUseHours& hours = computerUse_;
      hours.FuncS = wimpcax2.ReadInteger("POWER", "FuncS", 0);
      hours.H1 = wimpcax2.ReadString("POWER", "H1", "00");
      hours.M1 = wimpcax2.ReadString("POWER", "M1", "00");
      hours.H2 = wimpcax2.ReadString("POWER", "H2", "23");
      hours.M2 = wimpcax2.ReadString("POWER", "M2", "59");
    });
  });
  steps.loadProfile.Bind(LoadStep::kStartHiAndExTimers, core, [this, &v] {
    SetExInterval(v.ExInterval);
    StartHiAndEx();
  });
  steps.loadProfile.Bind(LoadStep::kAllowComputerUseCheck, core,
                         [this] { computerUseCheckAllowed_ = true; });
  steps.loadProfile.Bind(LoadStep::kStartLowTimer, core, [this] { StartLow(); });
  steps.refusedClose.Bind(RefusedCloseStep::kStopHiTimer, core, [this] { StopHi(); });

  steps.hiTimer.Bind(HiTimerStep::kCompanion, core, [this] { LookAfterCompanion(); });
  steps.lowTimer.Bind(LowTimerStep::kApplicationTitle, core,
                      [this] { ctx_.view.SetApplicationTitle("Pelorin"); });
  steps.lowTimer.Bind(LowTimerStep::kTaskbarButton, core, [this] {
    ctx_.view.SetTaskbarButtonVisible(ctx_.places.AnyTaskbarWindowVisible());
  });
  // Outside the allowed computer-use hours the PC agent's password is asked, and the
  // tick waits until it was given (or the power function ran).
  steps.lowTimer.BindUntil(LowTimerStep::kComputerUse, core,
                           [this] { return !ComputerUseRefused(); });
  // The autostart entry is put back when something removed it while it should exist,
  // with its folder when that went too.
  steps.lowTimer.Bind(LowTimerStep::kAutostart, core, [this, &v] {
    ports::Desktop& desktop = ctx_.ports.desktop;
    if (v.AutostartWanted && !desktop.AutostartExists()) desktop.WriteAutostart();
  });
  // The strip stays above other programs' windows while it is on the screen. (The main
  // window does not take the focus back: on a desktop that would steal it from the
  // program the user just activated.)
  steps.deactivated.Bind(DeactivatedStep::kStrip, core, [this] {
    if (ctx_.mainWindow.Left() >= 0) ctx_.view.RaiseMainWindow();
  });

  ctx_.passwordActions.Bind(kComputerUseAction, core,
                            {.accepted =
                                 [this] {
                                   // The right password allows the computer's use until the next
                                   // profile load.
                                   computerUseCheckAllowed_ = false;
                                   StartLow();
                                 },
                             .cancelled =
                                 [this] {
                                   // Nobody gave the password for working outside the allowed
                                   // hours: the PC agent's power function for that case runs.
                                   // Whenever the suite outlives it (the system refused it, the
                                   // computer woke up again, the kind does nothing), the 1-second
                                   // check runs again and asks again while the hours are still not
                                   // allowed.
                                   power_.PowerAction(computerUse_.FuncS, [this] {
                                     if (!Ended()) StartLow();
                                   });
                                 }});
}

void BackgroundTimers::HiTimerTimer() {
  if (Ended()) return;
  hi_->SetEnabled(false);
  ctx_.steps.hiTimer.Run([this] { return !Ended(); });
  if (!Ended()) hi_->SetEnabled(true);
}

void BackgroundTimers::LookAfterCompanion() {
  ports::Companion& companion = ctx_.ports.companion;
  if (companion.WindowExists()) {
    if (companionStarted_) {
      companion.Post(ports::kCompanionGreeting);
      companionStarted_ = false;
    }
  } else if (!companionStarted_) {
    if (!companion.ProgramExists()) {
      ctx_.ports.dialogs.Show(ports::MessageRequest{
          .text = "Warning! Required file \"CSTDR.EXE\" not found! Continue of execution is "
                  "not possible.",
          .caption = "Pelorin Security System",
          .icon = ports::DialogIcon::Error,
          .buttons = ports::DialogButtons::Ok});
      ctx_.lifetime.SaveAndQuit();
      return;
    }
    companionStarted_ = true;
    companion.Start();
  }
}

void BackgroundTimers::ExTimerTimer() {
  if (Ended()) return;
  ex_->SetEnabled(false);
  // A Yes to All or No to All holds for the rest of this tick, across both checks.
  exAnswer_ = ports::DialogAnswer::Ok;
  ctx_.steps.exTimer.Run([this] { return !Ended(); });
  if (!Ended()) ex_->SetEnabled(true);
}

void BackgroundTimers::LowTimerTimer() {
  if (Ended()) return;
  low_->SetEnabled(false);
  // A tick that waits for the computer-use password ends early and starts no new one.
  if (!ctx_.steps.lowTimer.Run([this] { return !Ended(); })) return;
  low_->SetEnabled(true);
}

bool BackgroundTimers::ComputerUseRefused() {
  const SharedValues& v = ctx_.values;
  // The PC agent's window, once it exists, suspends the check while it is visible.
  if (!v.ProfileActive || !computerUseCheckAllowed_) return false;
  const ports::LocalTime now = ctx_.ports.clock.Now();
  if (computerUse_.Allows(now.hour, now.minute)) return false;
  // A request that already waits keeps its time limit: asking anew would restart it.
  if (passwords_.Pending() == kComputerUseAction) return true;
  // Refused only while a profile change waits or a profile loads: the next tick asks.
  return passwords_.Request(kComputerUseAction, v.AC.PCA1, kComputerUseTimeoutMs, true);
}

void BackgroundTimers::ApplicationDeactivated() {
  if (Ended()) return;
  ctx_.steps.deactivated.Run([this] { return !Ended(); });
}

void BackgroundTimers::StopAll() {
  hi_->SetEnabled(false);
  ex_->SetEnabled(false);
  low_->SetEnabled(false);
}

void BackgroundTimers::StartHiAndEx() {
  hi_->SetEnabled(true);
  ex_->SetEnabled(true);
}

void BackgroundTimers::StartLow() {
  low_->SetEnabled(true);
}

void BackgroundTimers::StopHi() {
  hi_->SetEnabled(false);
}

void BackgroundTimers::StopLow() {
  low_->SetEnabled(false);
}

void BackgroundTimers::SetExInterval(int seconds) {
  ex_->SetInterval(ExIntervalMs(seconds));
}

}  // namespace pelorin
