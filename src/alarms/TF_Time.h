#pragma once

#include <array>
#include <memory>
#include <string>

#include "alarms/DuzuzozeCounts.h"
#include "core/SharedValues.h"
#include "ports/Notification.h"
#include "ports/Timers.h"

namespace pelorin {

struct CoreContext;
class RingService;

// Duzuzoze, the desk clock window: a digital clock with a 12/24-hour switch, a
// stopwatch with hundredths and two countdown timers that ring through the ring
// service. Its clock also keeps the fly panel's clock text, so it runs whether the
// window shows or not; so do the stopwatch and the countdowns.
class TF_Time {
 public:
  static constexpr char kCaption[] = "Duzuzoze";
  static constexpr char kFileName[] = "clock";  // clock.hif
  static constexpr int kClockMs = 500;
  static constexpr int kStopwatchMs = 50;
  static constexpr int kCountdownMs = 1000;
  static constexpr int kFirstArrowMs = 1;
  static constexpr char kStopwatchZero[] = "00:00:00.00";
  static constexpr char kCountdownZero[] = "000:00";

  // The arrow buttons, by their numbers: 7/8 timer 1's minutes down/up, 9/10 its
  // seconds, 12/13 timer 2's minutes, 14/15 its seconds.
  enum class Arrow {
    kButton7 = 7,
    kButton8,
    kButton9,
    kButton10,
    kButton12 = 12,
    kButton13,
    kButton14,
    kButton15
  };

  TF_Time(CoreContext& ctx, RingService& ring);
  TF_Time(const TF_Time&) = delete;
  TF_Time& operator=(const TF_Time&) = delete;

  // The profile load: Mode12 from clock.hif.
  void ReadSettings();

  void FormShow();
  void FormClose();
  // The suite has ended: the clock, the stopwatch and the countdowns stop.
  void StopTimers();

  void TimeTTimer();
  // A click on the clock or on the AM or PM label: the other mode, stored.
  void AMClick();

  // The stopwatch: start, stop / reset, freeze the display.
  void Button1Click();
  void Button2Click();
  void Button3Click();
  // The countdowns: start timer 1 and timer 2, stop / reset them.
  void Button4Click() { StartCountdown(0); }
  void Button6Click() { StartCountdown(1); }
  void Button5Click() { StopCountdown(0); }
  void Button11Click() { StopCountdown(1); }
  // An arrow pressed and released.
  void ArrowDown(Arrow arrow);
  void ArrowUp();

  bool Visible() const { return visible_; }
  bool Centered() const;
  WindowPlace Place() const;
  void Moved(WindowPlace place);

  bool Mode12() const { return mode12_; }
  // The clock: the hour with a leading space, the separator, the minute (" 9:05").
  const std::string& ClockText() const { return clock_; }
  bool AmLit() const { return amLit_; }
  bool PmLit() const { return pmLit_; }
  // The fly panel's clock ("<09:05pm>", "<<07:03>>"); kept while its clock option is on
  // and a profile is active.
  const std::string& FlyPanelClock() const { return flyPanelClock_; }

  const std::string& StopwatchText() const { return stopwatchText_; }
  bool StopwatchRunning() const { return stopwatchRunning_; }
  bool StopwatchLive() const { return stopwatchLive_; }
  std::string CountdownText(int n) const { return countdowns_[Index(n)].display.Text(); }
  bool CountdownRunning(int n) const { return countdowns_[Index(n)].running; }

  ports::Notification<> changed;

 private:
  struct Countdown {
    CountdownDisplay display;
    bool running = false;
    std::unique_ptr<ports::Timer> timer;
  };

  static std::size_t Index(int n) { return static_cast<std::size_t>(n); }
  std::filesystem::path FileName() const;
  void StopwatchTick();
  void CountdownTick(int n);
  void StartCountdown(int n);
  void StopCountdown(int n);
  void Ring(int n);
  void ArrowTick();
  void ShowFlyPanelClock();

  CoreContext& ctx_;
  RingService& ring_;
  bool visible_ = false;
  bool mode12_ = false;
  std::string clock_ = " 0:00";
  bool amLit_ = false;
  bool pmLit_ = false;
  std::string flyPanelClock_;
  std::unique_ptr<ports::Timer> clockTimer_;

  StopwatchCount stopwatch_;
  std::string stopwatchText_ = kStopwatchZero;
  bool stopwatchRunning_ = false;
  bool stopwatchLive_ = false;
  std::unique_ptr<ports::Timer> stopwatchTimer_;

  std::array<Countdown, 2> countdowns_;

  Arrow arrow_ = Arrow::kButton8;
  int arrowTicks_ = 0;
  std::unique_ptr<ports::Timer> arrowTimer_;
};

}  // namespace pelorin
