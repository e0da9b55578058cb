#include "organizer/TF_Shed.h"

#include <algorithm>

#include "alarms/RingService.h"
#include "alarms/SoundChoice.h"
#include "common/Dates.h"
#include "common/Files.h"
#include "common/Text.h"
#include "core/AppletFileChange.h"
#include "core/CoreContext.h"
#include "core/WriteErrorReport.h"
#include "organizer/OrgFile.h"
#include "organizer/OrgSort.h"
#include "organizer/OrganizerSchedule.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace {

using org_file::kSystem;

constexpr char kBrowseTitle[] = "Open sound Wave file";
constexpr char kBrowseFilter[] = "Wave files (*.wav)|*.wav|All files(*.*)|*.*";
constexpr char kDeleteQuestion[] = "Deleting. Are you sure?";
constexpr char kReinitQuestion[] =
    "Are you sure?\nRe-initialization will be executed!\nThis process executes when Pelorin "
    "starts!";
constexpr char kDateFormatMessage[] = "Incorrect date. Format of date must be MM/DD/YY";
constexpr char kDateSymbolsMessage[] = "Incorrect symbols in specified date!";
constexpr char kDateRangeMessage[] = "Incorrect date.";
constexpr char kFullMessage[] =
    "The organizer already holds 8192 messages, as many as it can keep.\n"
    "Delete a message before adding a new one.";

std::string Two(int value) {
  return PadNumber(value, 2, '0');
}

// A field of the specified date as a number; -1 when it is too long to be one.
int DateFieldNumber(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  if (digits.size() - first > 4) return -1;
  return std::stoi(digits.substr(first));
}

// The check's timer stays paused while the schedule's rows move, and runs again after
// only when it ran before.
class PausedCheck {
 public:
  explicit PausedCheck(OrganizerSchedule& schedule)
      : schedule_(schedule), wasRunning_(schedule.TimerRunning()) {
    schedule_.StopTimer();
  }
  ~PausedCheck() {
    if (wasRunning_) schedule_.StartTimer();
  }
  PausedCheck(const PausedCheck&) = delete;
  PausedCheck& operator=(const PausedCheck&) = delete;

 private:
  OrganizerSchedule& schedule_;
  bool wasRunning_;
};

}  // namespace

std::string TwoDigitBox(std::string_view text, int lowest, int highest, std::string_view fallback) {
  if (!IsDigits(text)) return std::string(fallback);
  const int value = org_file::NumberOf(text.substr(0, 2));
  return Two(std::clamp(value, lowest, highest));
}

TF_Shed::TF_Shed(CoreContext& ctx, OrganizerSchedule& schedule, RingService& ring,
                 std::function<void(int entry)> popUp)
    : ctx_(ctx), schedule_(schedule), ring_(ring), popUp_(std::move(popUp)) {}

std::filesystem::path TF_Shed::FileName() const {
  return org_file::FileIn(ctx_.values.ProfileDir);
}

bool TF_Shed::Centered() const {
  return ctx_.values.CenterWindows;
}

WindowPlace TF_Shed::Place() const {
  return ctx_.places.PlaceOf(AppletWindow::Shed);
}

void TF_Shed::Moved(WindowPlace place) {
  ctx_.places.SetPlace(AppletWindow::Shed, place);
}

void TF_Shed::FormShow() {
  if (ctx_.lifetime.Ended()) return;
  ctx_.custodo.CheckSettingsFile(org_file::kName);
  TodayDate = DateNowTextUS(ctx_.ports.clock);
  SortEntries();
  visible_ = true;
  FillList();
  signal_ = SettingsFile(FileName()).ReadBool(kSystem, "Signal", false);
  Notify();
}

void TF_Shed::FormClose() {
  if (adding_) LeaveAdding();
  visible_ = false;
  ShedListClick(selected_);
}

bool TF_Shed::Change(const std::function<void(SettingsFile&)>& change) {
  return ChangeAppletFile(
      ctx_, {FileName(), org_file::kName, kCaption, "The message cannot be stored"}, change);
}

void TF_Shed::SortEntries() {
  if (ctx_.lifetime.Ended()) return;
  PausedCheck paused(schedule_);
  ReportWriteErrors(ctx_.ports.dialogs, [&] {
    org_sort::SortOrganizerFile(FileName(), schedule_.Table());
    ctx_.custodo.BackupSettingsFile(org_file::kName);
  });
}

void TF_Shed::Resort() {
  SortEntries();
  FillList();
}

std::string TF_Shed::SpecifiedKey() const {
  return GetField(TodayDate, '/', 2) + GetField(TodayDate, '/', 1);
}

std::string TF_Shed::TodayKey() const {
  const std::string today = DateNowText(ctx_.ports.clock);
  return today.substr(0, 2) + today.substr(3, 2);
}

void TF_Shed::FillList() {
  const SettingsView file = SettingsFile(FileName()).View();
  ShowTodayOnly = file.ReadBool(kSystem, "ShowTodayOnly", false);
  rows_.clear();
  const std::string key = SpecifiedKey();
  ScheduleTable& table = schedule_.Table();
  const int count = org_file::WorkedEntryCount(org_file::StoredEntryCount(file));
  for (int n = 0; n < count; ++n) {
    const std::string s = std::to_string(n);
    const std::string day = file.ReadString(s, "DayX", "01");
    const std::string month = file.ReadString(s, "MonthX", "01");
    const bool enabled = file.ReadBool(s, "Enabled", true);
    const bool listed = !ShowTodayOnly || table[n].NextDate == key ||
                        Two(org_file::NumberOf(day)) + Two(org_file::NumberOf(month)) == key;
    if (!enabled) table[n].MessageOff = true;
    if (!listed) continue;
    Row row;
    row.caption = file.ReadString(s, "TITLE", "");
    row.date = file.ReadBool(s, "Date", true) ? month + "/" + day : "any";
    row.time = file.ReadBool(s, "Time", true)
                   ? file.ReadString(s, "HourX", "00") + ":" + file.ReadString(s, "MinuteX", "00")
                   : "any";
    row.entry = n;
    if (!enabled)
      row.image = kCompleted;
    else if (table[n].MessageOff)
      row.image = kSwitchedOff;
    else
      row.image = table[n].NextDate == key ? kDue : kNotDue;
    rows_.push_back(std::move(row));
  }
  ShedListClick(rows_.empty() ? -1 : 0);
}

void TF_Shed::RefreshStateImages() {
  const SettingsView file = SettingsFile(FileName()).View();
  const std::string today = TodayKey();
  const ScheduleTable& table = schedule_.Table();
  for (Row& row : rows_) {
    const ScheduleTable::Row& planned = table[row.entry];
    if (ShowTodayOnly && planned.NextDate != today) continue;
    if (!file.ReadBool(std::to_string(row.entry), "Enabled", true))
      row.image = kCompleted;
    else if (planned.MessageOff)
      row.image = kSwitchedOff;
    else
      row.image = planned.NextDate == today ? kDue : kNotDue;
  }
  Notify();
}

void TF_Shed::SetTodayDate(std::string date) {
  TodayDate = std::move(date);
  Notify();
}

void TF_Shed::ClearEditor() {
  const std::string today = DateNowText(ctx_.ports.clock);
  editor.NameEdit.clear();
  editor.MemoEdit.clear();
  editor.TimeE = false;
  editor.DateE = false;
  editor.TimeHour = "00";
  editor.TimeMinute = "00";
  editor.DateDay = today.substr(0, 2);
  editor.DateMonth = today.substr(3, 2);
  editor.RepeatTimeE = false;
  editor.RepeatTimeN = 1;
  editor.RepeatTimeMin = true;
  editor.RepeatDaysE = false;
  editor.RepeatDaysN = 1;
  editor.PeriodE = false;
  editor.PeriodDay = "01";
  editor.PeriodMonth = "01";
  editor.SndOff = false;
  editor.SndStd = true;
  editor.SndFile = false;
  editor.SndLoop = false;
  editor.SndFilename.clear();
  // The "repeat until" time keeps what it shows.
}

void TF_Shed::LoadEditor(const OrgEntry& e) {
  editor.NameEdit = e.TITLE;
  editor.MemoEdit = e.Memo;
  editor.TimeE = e.Time;
  editor.DateE = e.Date;
  editor.PeriodT = e.PeriodT;
  editor.PeriodE = e.PeriodE;
  editor.SndOff = e.SndOff;
  editor.SndStd = e.SndStd;
  editor.SndFile = e.SndFile;
  editor.SndLoop = e.SndLoop;
  editor.TimeHour = e.HourX;
  editor.TimeMinute = e.MinuteX;
  editor.DateDay = e.DayX;
  editor.DateMonth = e.MonthX;
  editor.PeriodHour = e.PeriodHour;
  editor.PeriodMin = e.PeriodMin;
  editor.PeriodDay = e.PeriodDay;
  editor.PeriodMonth = e.PeriodMonth;
  editor.RepeatDaysE = e.EveryDay >= 1;
  editor.RepeatDaysN = e.EveryDay >= 1 ? e.EveryDay : 1;
  editor.RepeatTimeE = e.Repeat >= 1;
  editor.RepeatTimeN = e.Repeat >= 1 ? e.Repeat : 1;
  editor.RepeatTimeMin = e.RepeatMin;
  editor.SndFilename = e.SndFilename;
}

OrgEntry TF_Shed::FromEditor() const {
  // The boxes as their exit checks leave them, even when the focus never left one.
  OrgEntry e;
  e.TITLE = editor.NameEdit;
  e.Memo = editor.MemoEdit;
  e.EveryDay = editor.RepeatDaysE ? std::clamp(editor.RepeatDaysN, 1, 99) : 0;
  e.Repeat = editor.RepeatTimeE ? std::clamp(editor.RepeatTimeN, 1, 240) : 0;
  e.RepeatMin = editor.RepeatTimeMin;
  e.HourX = TwoDigitBox(editor.TimeHour, 0, 23, "00");
  e.MinuteX = TwoDigitBox(editor.TimeMinute, 0, 59, "00");
  e.Time = editor.TimeE;
  e.DayX = TwoDigitBox(editor.DateDay, 1, 31, "01");
  e.MonthX = TwoDigitBox(editor.DateMonth, 1, 12, "01");
  e.Date = editor.DateE;
  e.Enabled = true;
  e.PeriodT = editor.PeriodT;
  e.PeriodHour = TwoDigitBox(editor.PeriodHour, 0, 23, "00");
  e.PeriodMin = TwoDigitBox(editor.PeriodMin, 0, 59, "00");
  e.PeriodE = editor.PeriodE;
  e.PeriodDay = TwoDigitBox(editor.PeriodDay, 1, 31, "01");
  e.PeriodMonth = TwoDigitBox(editor.PeriodMonth, 1, 12, "01");
  e.SndOff = editor.SndOff;
  e.SndStd = editor.SndStd;
  e.SndFile = editor.SndFile;
  e.SndLoop = editor.SndLoop;
  e.SndFilename = editor.SndFilename;
  return e;
}

void TF_Shed::ShedListClick(int row) {
  selected_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
  if (selected_ < 0)
    ClearEditor();
  else
    LoadEditor(OrgEntry::Read(SettingsFile(FileName()).View(), SelectedEntry()));
  Notify();
}

int TF_Shed::SelectedEntry() const {
  return selected_ < 0 ? -1 : rows_[static_cast<std::size_t>(selected_)].entry;
}

bool TF_Shed::EntryEnabled(int entry) const {
  return SettingsFile(FileName()).ReadBool(std::to_string(entry), "Enabled", true);
}

void TF_Shed::ShedListDblClick() {
  if (selected_ < 0 || !popUp_) return;
  popUp_(SelectedEntry());
}

void TF_Shed::AddBtnClick() {
  if (!adding_) {
    const SettingsView file = SettingsFile(FileName()).View();
    if (org_file::StoredEntryCount(file) >= org_file::kMaxEntries) {
      ctx_.ports.dialogs.Show(
          {.text = kFullMessage, .caption = kCaption, .icon = ports::DialogIcon::Warning});
      return;
    }
    const std::string today = DateNowText(ctx_.ports.clock);
    editor.NameEdit.clear();
    editor.MemoEdit.clear();
    editor.RepeatDaysE = false;
    editor.RepeatTimeE = false;
    editor.RepeatDaysN = 1;
    editor.RepeatTimeN = 1;
    editor.RepeatTimeMin = true;
    editor.TimeE = true;
    editor.DateE = true;
    editor.PeriodE = false;
    editor.TimeHour = "00";
    editor.TimeMinute = "00";
    editor.DateDay = today.substr(0, 2);
    editor.DateMonth = today.substr(3, 2);
    editor.PeriodDay = editor.DateDay;
    editor.PeriodMonth = editor.DateMonth;
    adding_ = true;
    ++titleFocusRequests_;
    Notify();
    return;
  }
  const OrgEntry added = FromEditor();
  int stored = -1;
  bool full = false;
  const bool written = Change([&](SettingsFile& file) {
    const int n = org_file::StoredEntryCount(file.View());
    if (n >= org_file::kMaxEntries) {
      full = true;
      return;
    }
    // A stray section beyond Count is no entry: the new one starts clean.
    file.EraseSection(std::to_string(n));
    added.Write(file, n, true);
    file.WriteInteger(kSystem, "Count", n + 1);
    stored = n;
  });
  if (full)
    ctx_.ports.dialogs.Show(
        {.text = kFullMessage, .caption = kCaption, .icon = ports::DialogIcon::Warning});
  if (!written || stored < 0) {
    // Adding goes on, so that what was typed is not lost.
    Notify();
    return;
  }
  schedule_.ScheduleEntry(stored, true);
  LeaveAdding();
  Resort();
}

void TF_Shed::LeaveAdding() {
  adding_ = false;
  Notify();
}

void TF_Shed::ApplyBtnClick() {
  if (adding_ || selected_ < 0) return;
  const int n = SelectedEntry();
  const OrgEntry applied = FromEditor();
  if (!Change([&](SettingsFile& file) { applied.Write(file, n, false); })) return;
  schedule_.ScheduleEntry(n, true);
  Resort();
}

void TF_Shed::DelBtnClick() {
  if (adding_) {
    LeaveAdding();
    ShedListClick(selected_);
    return;
  }
  if (selected_ < 0) return;
  const ports::DialogAnswer answer =
      ctx_.ports.dialogs.Show({.text = kDeleteQuestion,
                               .caption = "Delete",
                               .icon = ports::DialogIcon::Warning,
                               .buttons = ports::DialogButtons::YesNo});
  if (answer != ports::DialogAnswer::Yes) return;
  const int n = SelectedEntry();
  rows_.erase(rows_.begin() + selected_);
  selected_ = -1;
  int count = 0;
  const bool deleted = Change([&](SettingsFile& file) {
    count = org_file::StoredEntryCount(file.View());
    if (n >= count) return;
    // Each later section takes the whole content of the one after it; the sort that
    // follows writes every key of every entry.
    DeleteNumberedSection(file, n, count);
    file.WriteInteger(kSystem, "Count", count - 1);
  });
  if (deleted && n < count) {
    PausedCheck paused(schedule_);
    ScheduleTable& table = schedule_.Table();
    const int last = std::min(count, ScheduleTable::kRows) - 1;
    for (int i = n; i < last; ++i)
      table[i] = table[i + 1];
    if (n <= last) table[last] = ScheduleTable::Row{};
  }
  ShedListClick(rows_.empty() ? -1 : 0);
  Resort();
}

TF_Shed::Menu TF_Shed::ShedMenuPopup() const {
  Menu menu;
  if (selected_ < 0) return menu;
  const int n = SelectedEntry();
  menu.switchesVisible = true;
  menu.messageItem = schedule_.Table()[n].MessageOff ? "Enable message" : "Disable message";
  menu.doneItem = EntryEnabled(n) ? "Mark as completed" : "Mark as uncompleted";
  return menu;
}

void TF_Shed::ShedMenu_DoneClick() {
  if (selected_ < 0) return;
  const int n = SelectedEntry();
  if (!EntryEnabled(n)) return;
  ScheduleTable::Row& planned = schedule_.Table()[n];
  Row& row = rows_[static_cast<std::size_t>(selected_)];
  if (planned.MessageOff) {
    planned.MessageOff = false;
    row.image = planned.NextDate == TodayKey() ? kDue : kNotDue;
    schedule_.ScheduleEntry(n, false);
  } else {
    planned.MessageOff = true;
    row.image = kSwitchedOff;
  }
  Notify();
}

void TF_Shed::ShedMenu_EnabledClick() {
  if (selected_ < 0) return;
  const int n = SelectedEntry();
  const bool enabled = !EntryEnabled(n);
  if (!Change([&](SettingsFile& file) { file.WriteBool(std::to_string(n), "Enabled", enabled); }))
    return;
  ScheduleTable::Row& planned = schedule_.Table()[n];
  Row& row = rows_[static_cast<std::size_t>(selected_)];
  if (enabled) {
    planned.MessageOff = false;
    schedule_.ScheduleEntry(n, false);
    row.image = schedule_.Table()[n].NextDate == TodayKey() ? kDue : kNotDue;
  } else {
    planned.MessageOff = true;
    row.image = kCompleted;
  }
  Notify();
}

void TF_Shed::N1Click() {
  const ports::DialogAnswer answer =
      ctx_.ports.dialogs.Show({.text = kReinitQuestion,
                               .caption = "Pelorin",
                               .icon = ports::DialogIcon::Warning,
                               .buttons = ports::DialogButtons::YesNo});
  if (answer != ports::DialogAnswer::Yes) return;
  schedule_.ScheduleAll();
  FillList();
}

void TF_Shed::ShowTodayOnlyClick() {
  const bool only = ShowTodayOnly;
  Change([&](SettingsFile& file) { file.WriteBool(kSystem, "ShowTodayOnly", only); });
  FillList();
}

void TF_Shed::DateRefused(const std::string& message) {
  ctx_.ports.dialogs.Show({.text = message, .caption = "Pelorin"});
  TodayDate = DateNowTextUS(ctx_.ports.clock);
  Notify();
}

void TF_Shed::TodayDateExit() {
  if (CountChar(TodayDate, '/') != 2) return DateRefused(kDateFormatMessage);
  const std::string month = GetField(TodayDate, '/', 1);
  const std::string day = GetField(TodayDate, '/', 2);
  std::string year = GetField(TodayDate, '/', 3);
  if (!IsDigits(month) || !IsDigits(day) || !IsDigits(year))
    return DateRefused(kDateSymbolsMessage);
  const int d = DateFieldNumber(day);
  const int m = DateFieldNumber(month);
  if (d < 1 || d > 31 || m < 1 || m > 12 || (year.size() != 2 && year.size() != 4))
    return DateRefused(kDateRangeMessage);
  if (year.size() == 4) year = year.substr(2);
  TodayDate = ExpandYearSlash(Two(m) + "/" + Two(d) + "/" + year);
  ShowTodayOnlyClick();
}

void TF_Shed::TimeHourExit() {
  editor.TimeHour = TwoDigitBox(editor.TimeHour, 0, 23, "00");
  Notify();
}
void TF_Shed::TimeMinuteExit() {
  editor.TimeMinute = TwoDigitBox(editor.TimeMinute, 0, 59, "00");
  Notify();
}
void TF_Shed::DateDayExit() {
  editor.DateDay = TwoDigitBox(editor.DateDay, 1, 31, "01");
  Notify();
}
void TF_Shed::DateMonthExit() {
  editor.DateMonth = TwoDigitBox(editor.DateMonth, 1, 12, "01");
  Notify();
}
void TF_Shed::PeriodHourExit() {
  editor.PeriodHour = TwoDigitBox(editor.PeriodHour, 0, 23, "00");
  Notify();
}
void TF_Shed::PeriodMinExit() {
  editor.PeriodMin = TwoDigitBox(editor.PeriodMin, 0, 59, "00");
  Notify();
}
void TF_Shed::PeriodDayExit() {
  editor.PeriodDay = TwoDigitBox(editor.PeriodDay, 1, 31, "01");
  Notify();
}
void TF_Shed::PeriodMonthExit() {
  editor.PeriodMonth = TwoDigitBox(editor.PeriodMonth, 1, 12, "01");
  Notify();
}

void TF_Shed::SndBrowseClick() {
  editor.SndFilename =
      ChooseSoundFile(ctx_.ports.dialogs, kBrowseTitle, kBrowseFilter, editor.SndFilename);
  Notify();
}

void TF_Shed::SndPlayClick() {
  PreviewSound(ring_, editor.SndFilename, editor.SndLoop);
}

void TF_Shed::SndStopClick() {
  ring_.StopRing();
}

}  // namespace pelorin
