#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "alarms/ReminderFile.h"
#include "core/SharedValues.h"
#include "ports/Notification.h"
#include "ports/Timers.h"

namespace pelorin {

struct CoreContext;
class RingService;
class SettingsFile;

// The reminder window ("Reminder"): the list of alarms with their check boxes and,
// below it, the editor of one alarm, with Add (in two steps), Apply and Delete, the
// sound choice with its preview, and a clock label. Every change is written to
// reminder.hif at once and backed up; the due check reads the file afresh, so there is
// nothing to reload.
class TF_Clock {
 public:
  static constexpr char kCaption[] = "Reminder";
  static constexpr char kNewTitle[] = "Without title";
  static constexpr int kClockLabelMs = 1000;

  struct Row {
    std::string title, time, days;
    bool checked = false;
  };

  TF_Clock(CoreContext& ctx, RingService& ring);
  TF_Clock(const TF_Clock&) = delete;
  TF_Clock& operator=(const TF_Clock&) = delete;

  // The menu item: shows the window with the list read afresh.
  void FormShow();
  // The window closes (its close box, or CloseAllWindows): the add step ends.
  void FormClose();
  // The suite has ended: the clock label stops.
  void StopTimers() { clockTimer_->SetEnabled(false); }

  // A row is chosen (-1: none) and the editor shows it.
  void RemListClick(int row);
  // The user left the hour or the minute field.
  void RemHourExit();
  void RemMinExit();
  void AddBtnClick();
  void ApplyBtnClick();
  void DelBtnClick();
  // A row's check box changed (the widget has already set Rows()[row].checked through
  // SetRowChecked).
  void SetRowChecked(int row, bool checked);
  void RemListChange(int row);
  // A key was released in the list: every row's check box is stored.
  void RemListKeyUp();
  void SndBrowseClick();
  void SndPlayClick();
  void SndStopClick();

  // The editor's fields, edited by the widget.
  AlarmEntry editor;

  bool Visible() const { return visible_; }
  bool Centered() const;
  WindowPlace Place() const;
  // The user moved the window.
  void Moved(WindowPlace place);

  const std::vector<Row>& Rows() const { return rows_; }
  int Selected() const { return selected_; }
  bool AddStep() const { return addStep_; }
  bool ListEnabled() const { return !addStep_; }
  bool ApplyEnabled() const { return !addStep_; }
  std::string DeleteHint() const { return addStep_ ? "Cancel" : "Delete"; }
  // Grows each time the focus is to go to the title.
  int TitleFocusRequests() const { return titleFocusRequests_; }
  // The clock label, "hh:mm".
  const std::string& ClockText() const { return clockText_; }

  ports::Notification<> changed;

 private:
  std::filesystem::path FileName() const;
  void Notify() { changed(); }
  void FillEditorWithNow();
  void LeaveAddStep();
  // One change of reminder.hif, written once and backed up; false when the write was
  // refused (the user has been told).
  bool Change(const std::function<void(SettingsFile&)>& change);
  static Row RowOf(const AlarmEntry& entry);
  void ShowClock();

  CoreContext& ctx_;
  RingService& ring_;
  std::unique_ptr<ports::Timer> clockTimer_;
  std::vector<Row> rows_;
  int selected_ = -1;
  bool addStep_ = false;
  bool visible_ = false;
  int titleFocusRequests_ = 0;
  std::string clockText_;
};

}  // namespace pelorin
