#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/SharedValues.h"
#include "organizer/OrgEntry.h"
#include "ports/Notification.h"

namespace pelorin {

struct CoreContext;
class OrganizerSchedule;
class RingService;
class SettingsFile;

// The organizer window ("Organizer"): the list of messages with their date, time and
// state, the editor of one message with Add (in two steps), Apply and Delete, the
// list's context menu, the "Specified" date filter and the sound choice. Every change
// is written to org.hif at once and backed up, and the file is sorted by date and time
// after each one; the schedule's rows move with their entries.
class TF_Shed {
 public:
  static constexpr char kCaption[] = "Organizer";

  // The state images of the list.
  enum Image { kNotDue = 0, kCompleted = 1, kDue = 2, kSwitchedOff = 3 };

  struct Row {
    std::string caption;  // TITLE
    std::string date;     // MM/DD or "any"
    std::string time;     // HH:MM or "any"
    int entry = 0;        // the hidden index of the entry: every action goes by it
    int image = kNotDue;
  };

  // What the editor's controls hold.
  struct Editor {
    std::string NameEdit;
    std::vector<std::string> MemoEdit;  // one item per line
    bool TimeE = false;
    std::string TimeHour = "00", TimeMinute = "00";
    bool DateE = false;
    std::string DateDay = "01", DateMonth = "01";
    bool RepeatTimeE = false;
    int RepeatTimeN = 1;        // 1 to 240
    bool RepeatTimeMin = true;  // "minutes", else "hours"
    bool RepeatDaysE = false;
    int RepeatDaysN = 1;  // 1 to 99
    bool PeriodT = false;
    std::string PeriodHour = "00", PeriodMin = "00";
    bool PeriodE = false;
    std::string PeriodDay = "01", PeriodMonth = "01";
    bool SndOff = false, SndStd = true, SndFile = false, SndLoop = false;
    std::string SndFilename;
  };

  // The list's context menu as it opens.
  struct Menu {
    bool switchesVisible = false;
    std::string messageItem;  // "Disable message" / "Enable message"
    std::string doneItem;     // "Mark as completed" / "Mark as uncompleted"
  };

  // `popUp` is PopUpEntry of the message pop-up.
  TF_Shed(CoreContext& ctx, OrganizerSchedule& schedule, RingService& ring,
          std::function<void(int entry)> popUp);
  TF_Shed(const TF_Shed&) = delete;
  TF_Shed& operator=(const TF_Shed&) = delete;

  void FormShow();
  void FormClose();

  // A row is chosen (-1: none) and the editor shows its entry.
  void ShedListClick(int row);
  void ShedListSelectItem(int row) { ShedListClick(row); }
  void ShedListDblClick();

  void AddBtnClick();
  void ApplyBtnClick();
  void DelBtnClick();

  Menu ShedMenuPopup() const;
  void ShedMenu_DoneClick();
  void ShedMenu_EnabledClick();
  void N1Click();

  // The "Specified" box (the widget has set ShowTodayOnly) and the date box.
  void ShowTodayOnlyClick();
  void TodayDateExit();
  void TodayDateKeyPress(char key) {
    if (key == '\r') TodayDateExit();
  }

  void TimeHourExit();
  void TimeMinuteExit();
  void DateDayExit();
  void DateMonthExit();
  void PeriodHourExit();
  void PeriodMinExit();
  void PeriodDayExit();
  void PeriodMonthExit();

  void SndBrowseClick();
  void SndPlayClick();
  void SndStopClick();

  // Rebuilds the list from the file.
  void FillList();
  // Sorts the file and the schedule's rows, with the check paused.
  void SortEntries();

  // The check's calls: the day changed; a second passed while the list shows.
  void SetTodayDate(std::string date);
  void RefreshStateImages();

  Editor editor;
  std::string TodayDate;       // MM/DD/YYYY
  bool ShowTodayOnly = false;  // the "Specified" box

  const std::vector<Row>& Rows() const { return rows_; }
  int Selected() const { return selected_; }
  bool Adding() const { return adding_; }
  bool ApplyEnabled() const { return !adding_; }
  bool ListEnabled() const { return !adding_; }
  bool ShowTodayOnlyEnabled() const { return !adding_; }
  // The glyphs of the buttons' symbol font and the Delete button's hint.
  char AddGlyph() const { return adding_ ? '\xD2' : '\xA4'; }
  char DeleteGlyph() const { return adding_ ? '\xFD' : '\xFB'; }
  std::string DeleteHint() const { return adding_ ? "Cancel" : "Delete"; }
  // SndLabel: enabled with the sound glyph when messages ring.
  bool SignalShown() const { return signal_; }
  int TitleFocusRequests() const { return titleFocusRequests_; }

  bool Visible() const { return visible_; }
  bool Centered() const;
  WindowPlace Place() const;
  void Moved(WindowPlace place);

  ports::Notification<> changed;

 private:
  std::filesystem::path FileName() const;
  void Notify() { changed(); }
  // One change of org.hif, written once and backed up; false when it was refused (the
  // user has been told).
  bool Change(const std::function<void(SettingsFile&)>& change);
  void LeaveAdding();
  void ClearEditor();
  void LoadEditor(const OrgEntry& entry);
  OrgEntry FromEditor() const;
  // The filter's key: DDMM of the specified date.
  std::string SpecifiedKey() const;
  std::string TodayKey() const;
  int SelectedEntry() const;
  bool EntryEnabled(int entry) const;
  void DateRefused(const std::string& message);
  // After a stored change: the file sorted and the list rebuilt.
  void Resort();

  CoreContext& ctx_;
  OrganizerSchedule& schedule_;
  RingService& ring_;
  std::function<void(int)> popUp_;
  std::vector<Row> rows_;
  int selected_ = -1;
  bool adding_ = false;
  bool visible_ = false;
  bool signal_ = false;
  int titleFocusRequests_ = 0;
};

// The exit check of a two-digit box: digits are limited to `lowest`..`highest` and
// written with two digits; anything else gives `fallback`.
std::string TwoDigitBox(std::string_view text, int lowest, int highest, std::string_view fallback);

}  // namespace pelorin
