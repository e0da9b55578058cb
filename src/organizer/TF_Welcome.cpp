#include "organizer/TF_Welcome.h"

#include <algorithm>

#include "common/Dates.h"
#include "core/CoreContext.h"
#include "organizer/OrgFile.h"
#include "organizer/ScheduleTable.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace {

using org_file::kSystem;
constexpr char kEnter = '\r';
constexpr char kEscape = '\x1b';

int TwoDigits(std::string_view text, std::size_t from) {
  return (text[from] - '0') * 10 + (text[from + 1] - '0');
}

}  // namespace

TF_Welcome::TF_Welcome(CoreContext& ctx, const ScheduleTable& table)
    : ctx_(ctx),
      table_(table),
      timer1_(ctx.ports.timers.Create("WelcomeTimer1", kTimer1Ms, [this] { Timer1Timer(); })) {}

std::string TF_Welcome::DateText(int day, int month, int year) {
  const std::string_view name =
      month >= 1 && month <= 12 ? kMonthNames[static_cast<std::size_t>(month - 1)] : "";
  return std::string(name) + " " + std::to_string(day) + ", " + std::to_string(year);
}

bool TF_Welcome::Timer1Running() const {
  return timer1_->Enabled();
}

void TF_Welcome::Prepare() {
  left_ = kParkedLeft;
  FormShow();
}

void TF_Welcome::FormShow() {
  width_ = ctx_.ports.screen.Width();
  height_ = ctx_.ports.screen.Height();
  const std::string today = DateNowText(ctx_.ports.clock);  // DD.MM.YYYY
  dateLine_ = std::string(kToday) +
              DateText(TwoDigits(today, 0), TwoDigits(today, 3), std::stoi(today.substr(6)));
  const int weekday = WeekdayToday(ctx_.ports.clock);
  weekday_ = weekday >= 1 && weekday <= 7 ? kWeekdayNames[static_cast<std::size_t>(weekday - 1)]
                                          : std::string_view();
  ShowClock();
  nameLine_ = " " + ctx_.values.Current.name;
  FillLines();
  if (SettingsFile(org_file::FileIn(ctx_.values.ProfileDir))
          .ReadBool(kSystem, "WelcomeEmpty", false))
    show_ = true;
  timer1_->SetEnabled(true);
  changed();
}

void TF_Welcome::FillLines() {
  lines_.clear();
  const std::string today = DateNowText(ctx_.ports.clock);
  const std::string key = today.substr(0, 2) + today.substr(3, 2);
  const SettingsView file = SettingsFile(org_file::FileIn(ctx_.values.ProfileDir)).View();
  // Rows exist for the first kRows entries only, whatever Count says.
  const int count = std::clamp(file.ReadInteger(kSystem, "Count", 0), 0, ScheduleTable::kRows);
  for (int n = 0; n < count; ++n) {
    const ScheduleTable::Row& row = table_[n];
    if (row.NextDate != key || row.MessageOff) continue;
    const std::string section = std::to_string(n);
    std::string line = file.ReadString(section, "Title", "");
    if (file.ReadBool(section, "Time", true)) {
      line += kTimeDots + file.ReadString(section, "HourX", "00") + ":" +
              file.ReadString(section, "MinuteX", "00");
    } else {
      line += kNoTimeDots;
    }
    lines_.push_back(std::move(line));
  }
  show_ = !lines_.empty();
  colour_ = show_ ? ListColour::kYellow : ListColour::kWhite;
  if (!show_) lines_.push_back(kNoMessages);
}

void TF_Welcome::ShowClock() {
  clock_ = TimeNowText(ctx_.ports.clock).substr(0, 5);
}

void TF_Welcome::Timer1Timer() {
  if (!show_) {
    timer1_->SetEnabled(false);  // nothing to show: the window stays off screen
    return;
  }
  if (left_ < 0) {
    left_ = 0;
    visible_ = true;
  }
  ShowClock();
  changed();
}

void TF_Welcome::Button1KeyPress(char key) {
  if (key == kEnter || key == kEscape) FormClose();
}

void TF_Welcome::Label5Click() {
  if (showOrganizer) showOrganizer();
  FormClose();
}

void TF_Welcome::Memo1Enter() {
  ++focusRequests_;
  changed();
}

void TF_Welcome::FormClose() {
  timer1_->SetEnabled(false);
  visible_ = false;
  left_ = kParkedLeft;
  changed();
}

}  // namespace pelorin
