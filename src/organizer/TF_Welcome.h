#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Notification.h"
#include "ports/Timers.h"

namespace pelorin {

struct CoreContext;
struct ScheduleTable;

// The welcome window: once a day, after the configured start of the day, a borderless
// window over the whole screen greets the user by the profile's name and shows the
// date, the weekday, the time and the organizer's messages due today. The organizer's
// check prepares it while it waits off screen; it comes on screen only when it has
// something to show.
class TF_Welcome {
 public:
  static constexpr char kGreeting[] = "Greetings to you,";
  static constexpr char kToday[] = "Today :";
  static constexpr char kNoMessages[] = "No messages................";
  static constexpr char kTimeDots[] = ".....";
  static constexpr char kNoTimeDots[] = "................";
  static constexpr int kTimer1Ms = 100;
  static constexpr int kParkedLeft = -5000;

  // The layout, in pixels: the clock from the top right corner, the weekday right of
  // the date, the message list from the left and smaller than the screen, the "OK"
  // label above the lower edge, the "Organizer" label from the right edge, and the
  // button that holds the focus off screen.
  static constexpr int kClockGap = 5;
  static constexpr int kWeekdayGap = 6;
  static constexpr int kListLeft = 100;
  static constexpr int kListNarrower = 130;
  static constexpr int kListShorter = 220;
  static constexpr int kOkBottomGap = 15;
  static constexpr int kOrganizerRightGap = 20;
  static constexpr int kButton1Left = -100;

  static constexpr std::array<std::string_view, 12> kMonthNames = {
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  static constexpr std::array<std::string_view, 7> kWeekdayNames = {
      "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

  enum class ListColour { kYellow, kWhite };

  TF_Welcome(CoreContext& ctx, const ScheduleTable& table);
  TF_Welcome(const TF_Welcome&) = delete;
  TF_Welcome& operator=(const TF_Welcome&) = delete;

  // "December 7, 2001": the month's name, the day without a leading zero and the year.
  static std::string DateText(int day, int month, int year);

  // The "Organizer" label: opens the organizer window (filled by the subsystem).
  std::function<void()> showOrganizer;

  // The organizer's check: the window goes off screen and is prepared there.
  void Prepare();
  // The preparation: today's texts and messages, the show flag, Timer1 started.
  void FormShow();
  void Timer1Timer();
  void OKClick() { FormClose(); }
  void Button1Click() { FormClose(); }
  // A key on the focus button: Enter and Esc close the window.
  void Button1KeyPress(char key);
  void Label5Click();
  // The message list took the focus; it goes back to the button.
  void Memo1Enter();
  void FormClose();

  bool Visible() const { return visible_; }
  int Left() const { return left_; }
  int Top() const { return 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool ShowFlag() const { return show_; }
  bool Timer1Running() const;

  // " " and the profile's name, beneath the greeting.
  const std::string& NameLine() const { return nameLine_; }
  // "Today :" and the date text; the weekday's name beside it.
  const std::string& DateLine() const { return dateLine_; }
  const std::string& Weekday() const { return weekday_; }
  const std::string& Clock() const { return clock_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  ListColour Colour() const { return colour_; }
  // Grows each time the focus is to go to the button.
  int FocusRequests() const { return focusRequests_; }

  ports::Notification<> changed;

 private:
  void FillLines();
  void ShowClock();

  CoreContext& ctx_;
  const ScheduleTable& table_;
  std::unique_ptr<ports::Timer> timer1_;
  bool visible_ = false;
  int left_ = kParkedLeft;
  int width_ = 0;
  int height_ = 0;
  bool show_ = false;
  std::string nameLine_;
  std::string dateLine_;
  std::string weekday_;
  std::string clock_;
  std::vector<std::string> lines_;
  ListColour colour_ = ListColour::kWhite;
  int focusRequests_ = 0;
};

}  // namespace pelorin
