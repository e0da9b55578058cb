#include "alarms/TF_Time.h"

#include <algorithm>

#include "alarms/ReminderFile.h"
#include "alarms/RingService.h"
#include "common/Text.h"
#include "core/CoreContext.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace {

constexpr char kSystem[] = "SYSTEM";
constexpr std::size_t kSeparator = 2;  // the clock's third character
// A level outside the standard ones and the own file rings as "NORMAL" does.
constexpr int kFallbackLevel = 2;

// The next blink of the separator: a space and "." in the first half of the minute,
// "." and ":" in the second.
char NextSeparator(char now, int second) {
  const char first = second < 30 ? ' ' : '.';
  const char other = second < 30 ? '.' : ':';
  return now != first ? first : other;
}

}  // namespace

TF_Time::TF_Time(CoreContext& ctx, RingService& ring)
    : ctx_(ctx),
      ring_(ring),
      clockTimer_(ctx.ports.timers.Create("TimeT", kClockMs, [this] { TimeTTimer(); })),
      stopwatchTimer_(ctx.ports.timers.Create("STimer", kStopwatchMs, [this] { StopwatchTick(); })),
      arrowTimer_(ctx.ports.timers.Create("ClickT", kFirstArrowMs, [this] { ArrowTick(); })) {
  for (int n = 0; n < 2; ++n) {
    countdowns_[Index(n)].timer = ctx.ports.timers.Create(
        n == 0 ? "ATimer1" : "ATimer2", kCountdownMs, [this, n] { CountdownTick(n); });
  }
  clockTimer_->SetEnabled(true);
}

std::filesystem::path TF_Time::FileName() const {
  return ctx_.values.ProfileDir / (std::string(kFileName) + ".hif");
}

void TF_Time::ReadSettings() {
  mode12_ = SettingsFile(FileName()).ReadBool(kSystem, "Mode12", false);
  changed();
}

bool TF_Time::Centered() const {
  return ctx_.values.CenterWindows;
}

WindowPlace TF_Time::Place() const {
  return ctx_.places.PlaceOf(AppletWindow::Time);
}

void TF_Time::Moved(WindowPlace place) {
  ctx_.places.SetPlace(AppletWindow::Time, place);
}

void TF_Time::FormShow() {
  if (ctx_.lifetime.Ended()) return;
  visible_ = true;
  changed();
}

void TF_Time::FormClose() {
  visible_ = false;
  changed();
}

void TF_Time::StopTimers() {
  clockTimer_->SetEnabled(false);
  stopwatchTimer_->SetEnabled(false);
  arrowTimer_->SetEnabled(false);
  for (Countdown& countdown : countdowns_)
    countdown.timer->SetEnabled(false);
}

void TF_Time::TimeTTimer() {
  const ports::LocalTime now = ctx_.ports.clock.Now();
  const char separator =
      NextSeparator(clock_.size() > kSeparator ? clock_[kSeparator] : ':', now.second);
  int hour = now.hour;
  amLit_ = pmLit_ = false;
  if (mode12_) {
    if (hour == 0) hour = 24;
    amLit_ = hour < 12 || hour == 24;
    pmLit_ = !amLit_;
    if (hour > 12) hour -= 12;
  }
  clock_ = PadNumber(hour, 2, ' ') + separator + PadNumber(now.minute, 2, '0');
  ShowFlyPanelClock();
  changed();
}

void TF_Time::ShowFlyPanelClock() {
  if (!ctx_.values.FlyPanel.Clock || !ctx_.values.ProfileActive) return;
  std::string time = clock_;
  if (time[0] == ' ') time[0] = '0';
  if (!ctx_.values.FlyPanel.ClockFlash) time[kSeparator] = ':';
  if (mode12_) {
    flyPanelClock_ = "<" + time + (amLit_ ? "am>" : "pm>");
  } else {
    flyPanelClock_ = "<<" + time + ">>";
  }
}

void TF_Time::AMClick() {
  mode12_ = !mode12_;
  ReportWriteErrors(ctx_.ports.dialogs, [this] {
    SettingsFile(FileName()).WriteBool(kSystem, "Mode12", mode12_);
    ctx_.custodo.BackupSettingsFile(kFileName);
  });
  TimeTTimer();
}

void TF_Time::Button1Click() {
  if (stopwatchRunning_) return;
  stopwatch_ = StopwatchCount::FromText(stopwatchText_);
  stopwatchTimer_->SetEnabled(true);
  stopwatchRunning_ = true;
  stopwatchLive_ = true;
  changed();
}

void TF_Time::StopwatchTick() {
  stopwatch_.Tick();
  if (stopwatchLive_) {
    stopwatchText_ = stopwatch_.Text();
    changed();
  }
}

void TF_Time::Button2Click() {
  if (stopwatchRunning_) {
    stopwatchTimer_->SetEnabled(false);
    stopwatchRunning_ = false;
    stopwatchText_ = stopwatch_.Text();
  } else {
    stopwatchText_ = kStopwatchZero;
  }
  changed();
}

void TF_Time::Button3Click() {
  stopwatchLive_ = !stopwatchLive_;
  changed();
}

void TF_Time::StartCountdown(int n) {
  Countdown& countdown = countdowns_[Index(n)];
  countdown.running = true;
  countdown.timer->SetEnabled(true);
  changed();
}

void TF_Time::CountdownTick(int n) {
  Countdown& countdown = countdowns_[Index(n)];
  if (!countdown.display.SecondDown()) {
    countdown.timer->SetEnabled(false);
    countdown.running = false;
    changed();
    Ring(n);
    return;
  }
  changed();
}

void TF_Time::StopCountdown(int n) {
  Countdown& countdown = countdowns_[Index(n)];
  if (countdown.running) {
    countdown.timer->SetEnabled(false);
    countdown.running = false;
  } else {
    countdown.display = {};
  }
  ring_.StopRing();
  changed();
}

void TF_Time::Ring(int n) {
  const SettingsView file = SettingsFile(FileName()).View();
  const std::string digit = std::to_string(n + 1);
  const int level = file.ReadInteger(kSystem, "Ring" + digit, 2);
  ring_.BeepFrequency = file.ReadInteger(kSystem, "PCFQ" + digit, 1850);
  ring_.BeepDuration =
      std::min(file.ReadInteger(kSystem, "PCDU" + digit, 80), RingService::kLongestBeepMs);
  if (level == reminder_file::kOwnFileLevel) {
    ring_.PrepareSound(
        file.ReadString(kSystem, "Filename" + digit, ""),
        file.ReadBool(kSystem, "Loop" + digit, false) ? ports::Repeat::Loop : ports::Repeat::Once);
  } else {
    const int standard =
        level >= 0 && level < reminder_file::kOwnFileLevel ? level : kFallbackLevel;
    ring_.PrepareSound(reminder_file::StandardAlarmFile(ctx_.values.ProgramDir, standard).string(),
                       ports::Repeat::Loop);
  }
  ring_.BeepAllowed = true;
  ring_.UseSoundCard = file.ReadBool(kSystem, "UseSC" + digit, true);
  ring_.UsePcSpeaker = file.ReadBool(kSystem, "UsePC" + digit, false);
  ring_.StartRing();
}

void TF_Time::ArrowDown(Arrow arrow) {
  arrow_ = arrow;
  arrowTicks_ = 0;
  arrowTimer_->SetInterval(kFirstArrowMs);
  arrowTimer_->SetEnabled(true);
}

void TF_Time::ArrowUp() {
  arrowTimer_->SetEnabled(false);
}

void TF_Time::ArrowTick() {
  ++arrowTicks_;
  const int number = static_cast<int>(arrow_);
  const bool secondTimer = number >= 12;
  const int offset = number - (secondTimer ? 12 : 7);  // 0..3: minutes -, +, seconds -, +
  const int step = offset % 2 == 0 ? -1 : +1;
  CountdownDisplay& display = countdowns_[secondTimer ? 1 : 0].display;
  if (offset < 2) {
    display.StepMinutes(step);
  } else {
    display.StepSeconds(step);
  }
  arrowTimer_->SetInterval(ArrowRepeatAfterMs(arrowTicks_));
  changed();
}

}  // namespace pelorin
