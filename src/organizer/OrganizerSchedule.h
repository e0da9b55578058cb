#pragma once

#include <functional>
#include <memory>
#include <string>

#include "organizer/ScheduleTable.h"
#include "ports/Timers.h"

namespace pelorin {

struct CoreContext;

// When the organizer's entries come due: each entry's next occurrence in the schedule
// table, the periodic check (S_Timer) with the change of day, the welcome window's
// daily trigger, the refresh of the organizer list's state images and the firing with
// its repetition, and the re-scheduling at the wake-up. It reads org.hif of the loaded
// profile afresh at every operation.
class OrganizerSchedule {
 public:
  // The calls of the check into the organizer's windows, filled by the subsystem.
  struct Windows {
    std::function<void(int entry)> popUp;     // PopUpEntry: show the message, ring
    std::function<void()> prepareWelcome;     // the welcome window's preparation
    std::function<void()> dayChanged;         // the list's specified date := today
    std::function<void()> refreshListImages;  // once a second while the list shows
  };

  static constexpr int kDesignedIntervalMs = 5000;

  OrganizerSchedule(CoreContext& ctx, Windows windows);
  OrganizerSchedule(const OrganizerSchedule&) = delete;
  OrganizerSchedule& operator=(const OrganizerSchedule&) = delete;

  // The profile load: the check stops; Interval and DefaultMonth are read; rows 0 to
  // 8191 are reset.
  void ReadSettings();
  void ScheduleEntry(int entry, bool monthRule);
  void ScheduleAll();
  void RescheduleExpired();
  void S_TimerTimer();

  // The check's timer, paused by the sort and by sleep.
  void StopTimer();
  void StartTimer();
  bool TimerRunning() const;

  ScheduleTable& Table() { return table_; }
  const ScheduleTable& Table() const { return table_; }
  int SavedInterval() const { return savedInterval_; }
  bool MonthRule() const { return monthRule_; }
  const std::string& LastDate() const { return lastDate_; }

 private:
  CoreContext& ctx_;
  Windows windows_;
  ScheduleTable table_;
  std::unique_ptr<ports::Timer> timer_;
  int savedInterval_ = kDesignedIntervalMs;
  bool monthRule_ = false;
  std::string lastDate_;
  int lastRefreshedSecond_ = -1;
};

}  // namespace pelorin
