#include "alarms/TF_Clock.h"

#include <algorithm>

#include "alarms/RingService.h"
#include "alarms/SoundChoice.h"
#include "common/Dates.h"
#include "common/Files.h"
#include "core/AppletFileChange.h"
#include "core/CoreContext.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace {

using reminder_file::kSystem;

constexpr char kBrowseTitle[] = "Open sound WAV file";
constexpr char kBrowseFilter[] = "Wave files (*.wav)|*.wav|All files (*.*)|*.*";

}  // namespace

TF_Clock::TF_Clock(CoreContext& ctx, RingService& ring)
    : ctx_(ctx),
      ring_(ring),
      clockTimer_(ctx.ports.timers.Create("RemClock", kClockLabelMs, [this] {
        ShowClock();
        Notify();
      })) {}

std::filesystem::path TF_Clock::FileName() const {
  return ctx_.values.ProfileDir / (std::string(reminder_file::kName) + ".hif");
}

bool TF_Clock::Centered() const {
  return ctx_.values.CenterWindows;
}

WindowPlace TF_Clock::Place() const {
  return ctx_.places.PlaceOf(AppletWindow::Rem);
}

void TF_Clock::Moved(WindowPlace place) {
  ctx_.places.SetPlace(AppletWindow::Rem, place);
}

TF_Clock::Row TF_Clock::RowOf(const AlarmEntry& entry) {
  return {entry.Caption, entry.TimeText(), DaysText(entry.Days, entry.DayE), entry.Enabled};
}

void TF_Clock::FormShow() {
  if (ctx_.lifetime.Ended()) return;
  ctx_.custodo.CheckSettingsFile(reminder_file::kName);
  const SettingsView file = SettingsFile(FileName()).View();
  const int count = reminder_file::AlarmCount(file);
  rows_.clear();
  for (int i = 0; i < count; ++i)
    rows_.push_back(RowOf(AlarmEntry::Read(file, i)));
  visible_ = true;
  clockTimer_->SetEnabled(true);
  ShowClock();
  RemListClick(rows_.empty() ? -1 : 0);
}

void TF_Clock::FormClose() {
  if (addStep_) LeaveAddStep();
  visible_ = false;
  clockTimer_->SetEnabled(false);
  RemListClick(selected_);
}

void TF_Clock::ShowClock() {
  clockText_ = TimeNowText(ctx_.ports.clock).substr(0, 5);
}

void TF_Clock::FillEditorWithNow() {
  const std::string now = TimeNowText(ctx_.ports.clock);
  editor.Hour = now.substr(0, 2);
  editor.Min = now.substr(3, 2);
}

void TF_Clock::RemListClick(int row) {
  selected_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
  if (selected_ < 0) {
    editor.Caption.clear();
    FillEditorWithNow();
    editor.Days.fill(true);
    editor.DayE = false;
    editor.SndStd = true;
    editor.SndFile = false;  // the loop box and the file name keep what they hold
  } else {
    editor = AlarmEntry::Read(SettingsFile(FileName()).View(), selected_);
  }
  Notify();
}

void TF_Clock::RemHourExit() {
  editor.Hour = LeftHourField(editor.Hour);
  Notify();
}

void TF_Clock::RemMinExit() {
  editor.Min = LeftMinuteField(editor.Min);
  Notify();
}

bool TF_Clock::Change(const std::function<void(SettingsFile&)>& change) {
  return ChangeAppletFile(
      ctx_, {FileName(), reminder_file::kName, kCaption, "The alarm cannot be stored"}, change);
}

void TF_Clock::AddBtnClick() {
  if (!addStep_) {
    editor.Caption = kNewTitle;
    FillEditorWithNow();
    editor.SndStd = true;
    editor.SndFile = false;
    addStep_ = true;
    ++titleFocusRequests_;
    Notify();
    return;
  }
  if (!editor.Caption.empty()) {
    AlarmEntry added = editor;
    added.Enabled = true;
    const bool stored = Change([&](SettingsFile& file) {
      const int count = std::max(file.ReadInteger(kSystem, "Count", 0), 0);
      added.Write(file, count);
      file.WriteInteger(kSystem, "Count", count + 1);
    });
    if (stored) rows_.push_back(RowOf(added));
  }
  LeaveAddStep();
  Notify();
}

void TF_Clock::LeaveAddStep() {
  addStep_ = false;
}

void TF_Clock::ApplyBtnClick() {
  if (addStep_ || editor.Caption.empty() || selected_ < 0) return;
  Row& row = rows_[static_cast<std::size_t>(selected_)];
  AlarmEntry applied = editor;
  applied.Enabled = row.checked;
  const int position = selected_;
  const int count = static_cast<int>(rows_.size());
  if (Change([&](SettingsFile& file) {
        applied.Write(file, position);
        file.WriteInteger(kSystem, "Count", count);
      })) {
    row = RowOf(applied);
  }
  Notify();
}

void TF_Clock::DelBtnClick() {
  if (addStep_) {
    LeaveAddStep();
    RemListClick(selected_);
    return;
  }
  if (selected_ < 0) return;
  const int position = selected_;
  const int remaining = static_cast<int>(rows_.size()) - 1;
  // The later sections move one place down whole: a key missing from one stays
  // missing, so both the editor and the due check read it as before.
  const bool deleted = Change([&](SettingsFile& file) {
    const int oldCount = std::max(file.ReadInteger(kSystem, "Count", 0), position + 1);
    DeleteNumberedSection(file, position, oldCount);
    file.WriteInteger(kSystem, "Count", remaining);
  });
  if (deleted) rows_.erase(rows_.begin() + position);
  RemListClick(rows_.empty() ? -1 : 0);
}

void TF_Clock::SetRowChecked(int row, bool checked) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_[static_cast<std::size_t>(row)].checked = checked;
}

void TF_Clock::RemListChange(int row) {
  if (selected_ < 0 || row < 0 || row >= static_cast<int>(rows_.size())) return;
  const bool enabled = rows_[static_cast<std::size_t>(row)].checked;
  Change([&](SettingsFile& file) { file.WriteBool(std::to_string(row), "Enabled", enabled); });
  Notify();
}

void TF_Clock::RemListKeyUp() {
  Change([&](SettingsFile& file) {
    for (std::size_t i = 0; i < rows_.size(); ++i)
      file.WriteBool(std::to_string(i), "Enabled", rows_[i].checked);
  });
  Notify();
}

void TF_Clock::SndBrowseClick() {
  editor.SndFilename =
      ChooseSoundFile(ctx_.ports.dialogs, kBrowseTitle, kBrowseFilter, editor.SndFilename);
  Notify();
}

void TF_Clock::SndPlayClick() {
  PreviewSound(ring_, editor.SndFilename, editor.SndLoop);
}

void TF_Clock::SndStopClick() {
  ring_.StopRing();
}

}  // namespace pelorin
