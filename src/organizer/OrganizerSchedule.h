#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "organizer/ScheduleTable.h"
#include "ports/Timers.h"
#include "storage/SettingsFile.h"

namespace pelorin {

struct CoreContext;

// When the organizer's entries come due: each entry's next occurrence in the schedule
// table, the periodic check (S_Timer) with the change of day, the welcome window's
// daily trigger, the refresh of the organizer list's state images and the firing with
// its repetition, and the re-scheduling at the wake-up. It reads org.hif of the loaded
// profile afresh at every operation.
//
// The "repeat until" time and the "repeat up to" date bound every occurrence: nothing
// pops up at or after the until time of its day, or on a day after the up-to date.
// Both are tested when a row is planned, when the check is about to show a message and
// on the repetition the check has just computed, which then holds "9999" instead.
class OrganizerSchedule {
 public:
  // The calls of the check into the organizer's windows, filled by the subsystem; any
  // of them may be left empty.
  struct Windows {
    std::function<void(int entry)> popUp;     // PopUpEntry: show the message, ring
    std::function<void()> prepareWelcome;     // the welcome window's preparation
    std::function<void()> dayChanged;         // the list's specified date := today
    std::function<void()> refreshListImages;  // once a second while the list shows
    std::function<bool()> listVisible;        // whether the organizer window shows
  };

  static constexpr int kDesignedIntervalMs = 5000;
  // The first check after a re-initialization runs at once.
  static constexpr int kFirstCheckMs = 1;
  // The longest period the preferences offer; a file's Interval beyond 0 .. this is
  // taken as the designed period.
  static constexpr int kLongestIntervalMs = 30000;

  OrganizerSchedule(CoreContext& ctx, Windows windows);
  OrganizerSchedule(const OrganizerSchedule&) = delete;
  OrganizerSchedule& operator=(const OrganizerSchedule&) = delete;

  // The profile load: the check stops; Interval and DefaultMonth are read; rows 0 to
  // 8191 are reset.
  void ReadSettings();
  void ScheduleEntry(int entry, bool monthRule);
  void ScheduleAll();
  void RescheduleExpired();
  // The wake-up from sleep: rows 0 to 8191 reset, then RescheduleExpired.
  void RescheduleAfterSleep();
  void S_TimerTimer();

  // The check's timer, paused by the sort and by sleep.
  void StopTimer();
  void StartTimer();
  // Enabled with a period that fires (after the one check of Interval 0 it does not).
  bool TimerRunning() const;

  ScheduleTable& Table() { return table_; }
  const ScheduleTable& Table() const { return table_; }
  int SavedInterval() const { return savedInterval_; }
  bool MonthRule() const { return monthRule_; }
  const std::string& LastDate() const { return lastDate_; }

 private:
  struct Moment;
  struct Steps {
    bool monthRule = false;  // asked for, and on
    bool untilTime = true;   // the "repeat until" time is applied
  };

  // org.hif of the loaded profile.
  SettingsFile& File();
  void Plan(const SettingsView& file, int entry, const Moment& now, Steps steps);
  void RescheduleExpired(const SettingsView& file, const Moment& now);
  void DayChange(const SettingsView& file, const Moment& now);
  // True when org.hif was written.
  bool Welcome(const SettingsView& file, const Moment& now);
  void RefreshList(const SettingsView& file, const Moment& now);
  void Fire(const SettingsView& file, int entry, const Moment& now);

  CoreContext& ctx_;
  Windows windows_;
  ScheduleTable table_;
  std::unique_ptr<ports::Timer> timer_;
  std::optional<SettingsFile> file_;
  int savedInterval_ = kDesignedIntervalMs;
  bool monthRule_ = false;
  std::string lastDate_;
  int lastRefreshedSecond_ = -1;
  // The day the welcome window was last prepared, so that a WelcomeDate that cannot be
  // written does not prepare it at every check.
  std::string welcomedOn_;
  // A check that waits in a message box is not entered again by the next tick.
  bool checking_ = false;
};

}  // namespace pelorin
