#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ports/Timers.h"
#include "storage/SettingsFile.h"

namespace pelorin {

struct CoreContext;
class RingService;

// The reminder's due check (RemTimer, every 3 s, whether the window shows or not):
// it reads reminder.hif afresh at each tick, sounds the hourly chime once at the top of
// each hour and starts the ring of the first alarm due in the present minute on one of
// its days. Edits of the file therefore take effect at the next tick.
class ReminderDueCheck {
 public:
  static constexpr int kIntervalMs = 3000;
  // LastRingMinute after each profile load: no minute.
  static constexpr char kNoMinute[] = "99:99";

  ReminderDueCheck(CoreContext& ctx, RingService& ring);

  // The timer's switch; the profile load and sleep stop it, their ends start it.
  void Stop() { timer_->SetEnabled(false); }
  void Start() { timer_->SetEnabled(true); }
  bool Running() const { return timer_->Enabled(); }
  // A profile was loaded: the chime and the alarms start afresh, from its reminder.hif.
  void ForgetRings();

  void RemTimerTimer();

  // The minute ("hh:mm") in which an alarm last started ringing, and its day.
  const std::string& LastRingMinute() const { return lastRingMinute_; }
  const std::string& LastRingDay() const { return lastRingDay_; }
  bool ChimeDone() const { return chimeDone_; }

 private:
  void Chime(const SettingsView& file, int minute);
  void Alarms(const SettingsView& file, int hour, int minute, const std::string& hhmm);

  CoreContext& ctx_;
  RingService& ring_;
  std::unique_ptr<ports::Timer> timer_;
  std::string lastRingMinute_ = kNoMinute;
  std::string lastRingDay_;
  // The profile's reminder.hif, its path resolved once per profile.
  std::optional<SettingsFile> file_;
  bool chimeDone_ = false;
};

}  // namespace pelorin
