#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Notification.h"
#include "ports/Timers.h"

namespace pelorin {

struct CoreContext;
class OrganizerSchedule;
class RingService;
class SettingsView;

// The organizer's message pop-up: a small borderless window at the top right corner of
// the screen that lists the messages shown since it last appeared, with the text and
// the status of the chosen one, Back and Next to go through them, a counter, and OK,
// which silences the ring and closes it. Each message may ring as it appears.
class TF_ShedShow {
 public:
  static constexpr char kCaption[] = "Органайзер - Pelorin";
  static constexpr char kHeader[] = " Pelorin";
  static constexpr int kTimer1Ms = 100;
  // The lines MessageMap has room for; beyond them the oldest line gives way.
  static constexpr int kMessageMapSize = 8192;
  // The width until the widget tells its own.
  static constexpr int kDefaultWidth = 320;

  // The items of StatusList, in order.
  enum class Status { kOn, kOff, kDone };
  static constexpr std::array<std::string_view, 3> kStatusItems = {"Включено", "Выключено",
                                                                   "Выполнено"};

  TF_ShedShow(CoreContext& ctx, RingService& ring, OrganizerSchedule& schedule);
  TF_ShedShow(const TF_ShedShow&) = delete;
  TF_ShedShow& operator=(const TF_ShedShow&) = delete;

  // Shows entry `entry` of org.hif (the window appears first when it was hidden), with
  // its sound when the organizer's Signal is on.
  void PopUpEntry(int entry);

  // The window appears: placed, its list empty, Timer1 running.
  void FormShow();
  // Closed by OK, or hidden by the core at sleep: Timer1 stops.
  void FormClose();
  void FormHide() { FormClose(); }

  void OKBtnClick();
  void BackBtnClick();
  void NextBtnClick();
  // The user chose a line of MesList: it shows that message, as Back and Next do.
  void MesListClick(int line);
  // Shows the text and the status of the selected line's message.
  void MesListChange();
  // The user picked a status for the selected message.
  void StatusListChange(Status status);
  // The memo took the focus; it goes to MesList.
  void MesMemoEnter();
  void Timer1Timer();

  // The widget's width, and a move of the window by the user or the window manager.
  void Resized(int width);
  void Moved(int left, int top);

  bool Visible() const { return visible_; }
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  bool Timer1Running() const;

  const std::vector<std::string>& MesList() const { return mesList_; }
  // The entry of each line of MesList.
  const std::vector<int>& MessageMap() const { return messageMap_; }
  int Selected() const { return selected_; }
  const std::vector<std::string>& MesMemo() const { return mesMemo_; }
  Status StatusShown() const { return status_; }
  std::string_view StatusText() const { return kStatusItems[static_cast<std::size_t>(status_)]; }
  // "2/3": the selected line from 1 and the number of lines.
  const std::string& Nums() const { return nums_; }
  // Grows each time the focus is to go to MesList.
  int ListFocusRequests() const { return listFocusRequests_; }

  ports::Notification<> changed;

 private:
  std::filesystem::path FileName() const;
  void Ring(const SettingsView& file, const std::string& section);
  void RingStandard();
  void Select(int line);

  CoreContext& ctx_;
  RingService& ring_;
  OrganizerSchedule& schedule_;
  std::unique_ptr<ports::Timer> timer1_;
  bool visible_ = false;
  int left_ = 0;
  int top_ = 0;
  int width_ = kDefaultWidth;
  std::vector<std::string> mesList_;
  std::vector<int> messageMap_;
  int selected_ = -1;
  std::vector<std::string> mesMemo_;
  Status status_ = Status::kOn;
  std::string nums_;
  int listFocusRequests_ = 0;
};

}  // namespace pelorin
