#include "core/BackgroundTimers.h"

#include <limits>

#include "core/MainMenu.h"
#include "core/ProgramsLinkCheck.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "core/WinampRemote.h"

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

BackgroundTimers::BackgroundTimers(CoreContext& ctx)
    : ctx_(ctx),
      hi_(ctx.ports.timers.Create("HiTimer", kHiIntervalMs, [this] { HiTimerTimer(); })),
      ex_(ctx.ports.timers.Create("ExTimer", ExIntervalMs(ctx.values.ExInterval),
                                  [this] { ExTimerTimer(); })),
      low_(ctx.ports.timers.Create("LowTimer", kLowIntervalMs, [this] { LowTimerTimer(); })) {}

BackgroundTimers::~BackgroundTimers() = default;

void BackgroundTimers::HiTimerTimer() {
  if (ctx_.main->Ended()) return;
  hi_->SetEnabled(false);

  // 1. The media player's requests.
  ctx_.winamp->Tick();

  // 2. The volume lock holds the mixer line of wimpcax2.hf CTRL/Vol; that option comes
  // with the PC agent, which adds the lock's step here.

  // 3. The companion: greeted once after the suite started it, started when missing.
  ports::Companion& companion = ctx_.ports.companion;
  SharedValues& v = ctx_.values;
  if (companion.WindowExists()) {
    if (v.CompanionStarted) {
      companion.Post(ports::kCompanionGreeting);
      v.CompanionStarted = false;
    }
  } else if (!v.CompanionStarted) {
    if (!companion.ProgramExists()) {
      ctx_.ports.dialogs.Show(ports::MessageRequest{
          .text = "Warning! Required file \"CSTDR.EXE\" not found! Continue of execution is "
                  "not possible.",
          .caption = "Pelorin Security System",
          .icon = ports::DialogIcon::Error,
          .buttons = ports::DialogButtons::Ok});
      ctx_.main->SaveAndQuit();
      return;
    }
    v.CompanionStarted = true;
    companion.Start();
  }

  if (!ctx_.main->Ended()) hi_->SetEnabled(true);
}

void BackgroundTimers::ExTimerTimer() {
  if (ctx_.main->Ended()) return;
  ex_->SetEnabled(false);

  // A Yes to All or No to All holds for the rest of this tick, across both checks.
  ports::DialogAnswer toAll = ports::DialogAnswer::Ok;  // no to-All answer yet

  // 1. The wallpaper pictures (SPY/PicEx) belong to the PC agent, which adds their
  // check here with the same answer.

  // 2. The Programs entries.
  if (ctx_.values.SpyFileEx) ctx_.links->CheckPeriodically(toAll);

  if (!ctx_.main->Ended()) ex_->SetEnabled(true);
}

void BackgroundTimers::LowTimerTimer() {
  if (ctx_.main->Ended()) return;
  low_->SetEnabled(false);
  MainView& view = ctx_.view;

  // 1. A pop-up menu was shown since the last tick: forget it. (The strip's drag area
  // needs no repainting here: the view redraws what a closed menu covered.)
  if (ctx_.menu->PopupShown()) ctx_.menu->ForgetPopup();

  // 2. The application title.
  view.SetApplicationTitle("Pelorin");

  // 3. The taskbar button shows while any applet window is visible (Programs,
  // notebook, phone book, day book, organizer, reminder, Duzuzoze, CD player, CD agent,
  // PC agent, welcome window, Preferences). None of them exists in this build yet;
  // each applet adds its window's visibility here.
  view.SetTaskbarButtonVisible(false);

  // 4. The fly-out's power-timer indicator comes with the volume fly-out.

  // 5. Outside the allowed computer-use hours the PC agent's password is asked, and
  // this timer waits until it was given (or the power function ran).
  if (ComputerUseRefused()) return;

  // 6. The date control comes with the PC agent.

  // 7. The autostart entry is put back when something removed it while it should exist,
  // with its folder when that went too.
  ports::Desktop& desktop = ctx_.ports.desktop;
  if (ctx_.values.AutostartWanted && !desktop.AutostartExists()) desktop.WriteAutostart();

  if (!ctx_.main->Ended()) low_->SetEnabled(true);
}

bool BackgroundTimers::ComputerUseRefused() {
  const SharedValues& v = ctx_.values;
  // The PC agent's window, once it exists, suspends the check while it is visible.
  if (!v.ProfileActive || !v.ComputerUseCheckAllowed) return false;
  const ports::LocalTime now = ctx_.ports.clock.Now();
  if (v.ComputerUse.Allows(now.hour, now.minute)) return false;
  // A request that already waits keeps its time limit: asking anew would restart it.
  if (ctx_.pass->PendingAction() == TF_Pass::kComputerUse) return true;
  // Refused only while a profile change waits or a profile loads: the next tick asks.
  return ctx_.pass->Request(TF_Pass::kComputerUse, "Enter password for continuing work in Windows",
                            v.AC.PCA1, kComputerUseTimeoutMs, true);
}

void BackgroundTimers::ApplicationDeactivated() {
  if (ctx_.main->Ended()) return;
  // The strip stays above other programs' windows while it is on the screen. The
  // organizer pop-up, fast-start box, welcome window and fly panel join it when they
  // exist. (The main window does not take the focus back: on a desktop that would
  // steal it from the program the user just activated.)
  if (ctx_.main->Left() >= 0) ctx_.view.RaiseMainWindow();
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
