#include "organizer/OrganizerSchedule.h"

#include <algorithm>
#include <utility>

#include "common/Dates.h"
#include "common/Text.h"
#include "core/CoreContext.h"
#include "core/WriteErrorReport.h"
#include "organizer/EntryTiming.h"
#include "organizer/OrgFile.h"

namespace pelorin {
namespace {

using org_file::kSystem;
constexpr int kDayMinutes = 24 * 60;

int TwoDigits(std::string_view text, std::size_t from) {
  return (text[from] - '0') * 10 + (text[from + 1] - '0');
}

std::string HHMM(int minuteOfDay) {
  return PadNumber(minuteOfDay / 60, 2, '0') + PadNumber(minuteOfDay % 60, 2, '0');
}

// The number of entries the schedule can hold rows for, whatever Count claims.
int EntryCount(const SettingsView& file) {
  const int count = file.ReadInteger(kSystem, "Count", 0);
  return count < 0 ? 0 : std::min(count, ScheduleTable::kRows);
}

}  // namespace

// The present moment as the organizer compares it: today's DDMM and the time's HHMM.
struct OrganizerSchedule::Moment {
  explicit Moment(const ports::Clock& clock) : date(DateNowText(clock)), time(TimeNowText(clock)) {
    today = {TwoDigits(date, 0), TwoDigits(date, 3)};
    ddmm = today.Text();
    hhmm = time.substr(0, 2) + time.substr(3, 2);
    minuteOfDay = TwoDigits(time, 0) * 60 + TwoDigits(time, 3);
    second = TwoDigits(time, 6);
  }

  std::string date;  // DD.MM.YYYY
  std::string time;  // HH:MM:SS
  DayMonth today;
  std::string ddmm;
  std::string hhmm;
  int minuteOfDay = 0;
  int second = 0;
};

OrganizerSchedule::OrganizerSchedule(CoreContext& ctx, Windows windows)
    : ctx_(ctx),
      windows_(std::move(windows)),
      timer_(ctx.ports.timers.Create("S_Timer", kDesignedIntervalMs, [this] { S_TimerTimer(); })) {}

SettingsFile& OrganizerSchedule::File() {
  const std::filesystem::path name = org_file::FileIn(ctx_.values.ProfileDir);
  if (!file_ || file_->FileName() != name) file_.emplace(name);
  return *file_;
}

void OrganizerSchedule::ReadSettings() {
  StopTimer();
  const SettingsView file = File().View();
  int interval = file.ReadInteger(kSystem, "Interval", kDesignedIntervalMs);
  if (interval < 0 || interval > kLongestIntervalMs) interval = kDesignedIntervalMs;
  savedInterval_ = interval;
  timer_->SetInterval(interval);
  monthRule_ = file.ReadBool(kSystem, "DefaultMonth", false);
  table_.ResetChecked();
  welcomedOn_.clear();
}

void OrganizerSchedule::StopTimer() {
  timer_->SetEnabled(false);
}

void OrganizerSchedule::StartTimer() {
  timer_->SetEnabled(true);
}

bool OrganizerSchedule::TimerRunning() const {
  return timer_->Enabled() && timer_->Interval() > 0;
}

void OrganizerSchedule::Plan(const SettingsView& file, int entry, const Moment& now, Steps steps) {
  if (!ScheduleTable::Holds(entry)) return;
  ScheduleTable::Row& row = table_[entry];
  const std::optional<EntryTiming> timing = EntryTiming::Read(file, entry);
  if (!timing) {
    row = {};  // no such entry: it never comes due
    return;
  }
  std::string time = timing->TimeText();
  DayMonth date = timing->hasDate ? timing->date : now.today;
  if (!timing->hasTime) time = now.hhmm;
  // A dated entry that repeats by days catches up with today; an occurrence in January
  // reached from December lies in the next year and is not advanced further.
  if (timing->everyDay > 0 && date.Before(now.today)) {
    bool wrapped = false;
    while (date.Before(now.today) && !wrapped)
      date = date.Advanced(timing->everyDay, &wrapped);
  }
  // A dated entry whose time has passed today pops up at once.
  if (timing->hasDate && timing->hasTime && date == now.today &&
      timing->MinuteOfDay() < now.minuteOfDay)
    time = now.hhmm;

  row.NextTime = time;
  row.NextDate = date.Text();
  row.MessageOff = false;
  if (timing->upToSet) {
    if (timing->BeyondUpTo(date, now.today)) row.NextDate = ScheduleTable::kNone;
  } else if (steps.monthRule && date.month < now.today.month) {
    row.NextDate = ScheduleTable::kNone;
  }
  if (steps.untilTime && timing->PastUntil(now.minuteOfDay)) row.NextTime = ScheduleTable::kNone;
  if (!timing->enabled) row.MessageOff = true;
}

void OrganizerSchedule::ScheduleEntry(int entry, bool monthRule) {
  const Moment now(ctx_.ports.clock);
  Plan(File().View(), entry, now, {.monthRule = monthRule && monthRule_, .untilTime = true});
}

void OrganizerSchedule::ScheduleAll() {
  table_.Reset();
  const Moment now(ctx_.ports.clock);
  const SettingsView file = File().View();
  const int count = EntryCount(file);
  for (int n = 0; n < count; ++n)
    Plan(file, n, now, {.monthRule = false, .untilTime = false});
  // The period stays in savedInterval_ (the profile load read it); the first check
  // comes at once and puts it back.
  timer_->SetInterval(kFirstCheckMs);
  timer_->SetEnabled(true);
}

void OrganizerSchedule::RescheduleExpired() {
  RescheduleExpired(File().View(), Moment(ctx_.ports.clock));
}

void OrganizerSchedule::RescheduleExpired(const SettingsView& file, const Moment& now) {
  const int count = EntryCount(file);
  for (int n = 0; n < count; ++n) {
    // "9999" (a day or a month of 99) has no date.
    const std::optional<DayMonth> next = DayMonth::FromText(table_[n].NextDate);
    if (!next || next->Before(now.today)) Plan(file, n, now, {});
  }
}

void OrganizerSchedule::RescheduleAfterSleep() {
  table_.ResetChecked();
  RescheduleExpired();
}

void OrganizerSchedule::S_TimerTimer() {
  if (timer_->Interval() != savedInterval_) timer_->SetInterval(savedInterval_);
  if (ctx_.values.DateIllusion || checking_) return;
  checking_ = true;
  const Moment now(ctx_.ports.clock);
  const SettingsView file = File().View();

  if (now.date != lastDate_) DayChange(file, now);
  const bool written = Welcome(file, now);
  RefreshList(file, now);
  for (int n = 0; n < ScheduleTable::kCheckedRows; ++n) {
    const ScheduleTable::Row& row = table_[n];
    if (row.MessageOff || row.NextDate != now.ddmm || row.NextTime != now.hhmm) continue;
    Fire(file, n, now);
  }
  // Only the welcome's date is written by the check; the backup follows it.
  if (written)
    ReportWriteErrors(ctx_.ports.dialogs,
                      [this] { ctx_.custodo.BackupSettingsFile(org_file::kName); });
  checking_ = false;
}

void OrganizerSchedule::DayChange(const SettingsView& file, const Moment& now) {
  const int count = EntryCount(file);
  for (int n = 0; n < count; ++n) {
    if (file.ReadBool(std::to_string(n), "Enabled", false)) table_[n].MessageOff = false;
  }
  if (windows_.dayChanged) windows_.dayChanged();
  RescheduleExpired(file, now);
  lastDate_ = now.date;
}

bool OrganizerSchedule::Welcome(const SettingsView& file, const Moment& now) {
  if (!file.ReadBool(kSystem, "WelcomeScreen", false)) return false;
  if (welcomedOn_ == now.date || file.ReadString(kSystem, "WelcomeDate", "01.01.01") == now.date)
    return false;
  if (CompareTimes(now.time.substr(0, 5), file.ReadString(kSystem, "WelcomeTime", "07:00")) != '>')
    return false;
  welcomedOn_ = now.date;
  if (windows_.prepareWelcome) windows_.prepareWelcome();
  return ReportWriteErrors(ctx_.ports.dialogs,
                           [&] { File().WriteString(kSystem, "WelcomeDate", now.date); });
}

void OrganizerSchedule::RefreshList(const SettingsView& file, const Moment& now) {
  if (!windows_.listVisible || !windows_.listVisible() || !windows_.refreshListImages) return;
  if (file.ReadInteger(kSystem, "Count", 0) <= 0 || now.second == lastRefreshedSecond_) return;
  windows_.refreshListImages();
  lastRefreshedSecond_ = now.second;
}

void OrganizerSchedule::Fire(const SettingsView& file, int entry, const Moment& now) {
  ScheduleTable::Row& row = table_[entry];
  const std::optional<EntryTiming> timing = EntryTiming::Read(file, entry);
  if (!timing) {
    row = {};
    return;
  }
  // The limits hold for every occurrence, whenever the row was planned.
  if (timing->BeyondUpTo(now.today, now.today)) {
    row.NextDate = ScheduleTable::kNone;
    return;
  }
  if (timing->PastUntil(now.minuteOfDay)) {
    row.NextTime = ScheduleTable::kNone;
    return;
  }
  if (windows_.popUp) windows_.popUp(entry);

  if (timing->repeat == 0) {
    row.NextTime = ScheduleTable::kNone;  // no further occurrence today
    return;
  }
  // The next repetition within the day; past midnight it lies on the entry's next day
  // by its day repetition, or nowhere without one.
  long long next = timing->repeatInMinutes
                       ? now.minuteOfDay + static_cast<long long>(timing->repeat)
                       : now.minuteOfDay + 60LL * timing->repeat;
  std::optional<DayMonth> nextDay = now.today;
  if (next >= kDayMinutes) {
    nextDay =
        timing->everyDay > 0 ? std::optional(now.today.Advanced(timing->everyDay)) : std::nullopt;
    next %= kDayMinutes;
  }
  const int minuteOfDay = static_cast<int>(next);
  row.NextTime = timing->PastUntil(minuteOfDay) ? ScheduleTable::kNone : HHMM(minuteOfDay);
  row.NextDate =
      nextDay && !timing->BeyondUpTo(*nextDay, now.today) ? nextDay->Text() : ScheduleTable::kNone;
}

}  // namespace pelorin
