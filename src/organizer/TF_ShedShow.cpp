#include "organizer/TF_ShedShow.h"

#include <algorithm>
#include <system_error>

#include "alarms/ReminderFile.h"
#include "alarms/RingService.h"
#include "core/CoreContext.h"
#include "core/WriteErrorReport.h"
#include "organizer/MemoLines.h"
#include "organizer/OrgFile.h"
#include "organizer/OrganizerSchedule.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace {

using org_file::kSystem;
// A level outside the standard ones rings as "NORMAL" does.
constexpr int kFallbackLevel = 2;
constexpr int kStandardLevels = 4;

bool FileExists(const std::string& name) {
  std::error_code error;
  return !name.empty() && std::filesystem::is_regular_file(name, error);
}

}  // namespace

TF_ShedShow::TF_ShedShow(CoreContext& ctx, RingService& ring, OrganizerSchedule& schedule)
    : ctx_(ctx),
      ring_(ring),
      schedule_(schedule),
      timer1_(ctx.ports.timers.Create("ShedShowTimer1", kTimer1Ms, [this] { Timer1Timer(); })) {}

std::filesystem::path TF_ShedShow::FileName() const {
  return org_file::FileIn(ctx_.values.ProfileDir);
}

bool TF_ShedShow::Timer1Running() const {
  return timer1_->Enabled();
}

void TF_ShedShow::FormShow() {
  left_ = ctx_.ports.screen.Width() - width_;
  top_ = 0;
  mesList_.clear();
  messageMap_.clear();
  selected_ = -1;
  mesMemo_.clear();
  nums_.clear();
  visible_ = true;
  timer1_->SetEnabled(true);
  changed();
}

void TF_ShedShow::FormClose() {
  timer1_->SetEnabled(false);
  visible_ = false;
  changed();
}

void TF_ShedShow::OKBtnClick() {
  ring_.StopRing();
  FormClose();
}

void TF_ShedShow::PopUpEntry(int entry) {
  const SettingsView file = SettingsFile(FileName()).View();
  const std::string section = std::to_string(entry);
  if (!file.SectionExists(section)) return;
  if (!visible_) FormShow();
  if (file.ReadBool(kSystem, "Signal", false)) Ring(file, section);

  if (static_cast<int>(mesList_.size()) == kMessageMapSize) {
    mesList_.erase(mesList_.begin());
    messageMap_.erase(messageMap_.begin());
  }
  mesList_.push_back(file.ReadString(section, "TITLE", ""));
  messageMap_.push_back(entry);
  Select(static_cast<int>(mesList_.size()) - 1);
}

void TF_ShedShow::Ring(const SettingsView& file, const std::string& section) {
  if (file.ReadBool(section, "SndStd", true)) RingStandard();
  const std::string own = file.ReadString(section, "SndFilename", "");
  if (file.ReadBool(section, "SndFile", false) && FileExists(own)) {
    // The own file plays on the sound card without the beeper; starting the ring also
    // gives the reminder's hot-key to the ring, to stop it.
    ring_.PrepareSound(
        own, file.ReadBool(section, "SndLoop", false) ? ports::Repeat::Loop : ports::Repeat::Once);
    ring_.UseSoundCard = true;
    ring_.BeepAllowed = false;
    ring_.StartRing();
  }
}

void TF_ShedShow::RingStandard() {
  const SettingsView reminder =
      SettingsFile(ctx_.values.ProfileDir / (std::string(reminder_file::kName) + ".hif")).View();
  const char* const system = reminder_file::kSystem;
  int level = reminder.ReadInteger(system, "Volume", kFallbackLevel);
  if (level < 0 || level >= kStandardLevels) level = kFallbackLevel;
  ring_.PrepareSound(reminder_file::StandardAlarmFile(ctx_.values.ProgramDir, level).string(),
                     ports::Repeat::Loop);
  ring_.BeepFrequency = reminder.ReadInteger(system, "PCFQ", 1850);
  ring_.BeepDuration =
      std::min(reminder.ReadInteger(system, "PCDU", 80), RingService::kLongestBeepMs);
  ring_.UseSoundCard = reminder.ReadBool(system, "UseSC", true);
  ring_.UsePcSpeaker = reminder.ReadBool(system, "UsePC", false);
  ring_.BeepAllowed = true;
  ring_.StartRing();
}

void TF_ShedShow::Select(int line) {
  selected_ = line;
  MesListChange();
}

void TF_ShedShow::MesListChange() {
  mesMemo_.clear();
  status_ = Status::kOn;
  if (selected_ >= 0 && selected_ < static_cast<int>(messageMap_.size())) {
    const int entry = messageMap_[static_cast<std::size_t>(selected_)];
    const SettingsView file = SettingsFile(FileName()).View();
    const std::string section = std::to_string(entry);
    mesMemo_ = ReadMemoLines(file, section);
    if (!file.ReadBool(section, "Enabled", true)) {
      status_ = Status::kDone;
    } else if (ScheduleTable::Holds(entry) && schedule_.Table()[entry].MessageOff) {
      status_ = Status::kOff;
    }
  }
  changed();
}

void TF_ShedShow::MesListClick(int line) {
  if (line < 0 || line >= static_cast<int>(mesList_.size())) return;
  Select(line);
}

void TF_ShedShow::NextBtnClick() {
  if (mesList_.empty()) return;
  const int next = selected_ + 1;
  Select(next >= static_cast<int>(mesList_.size()) ? 0 : next);
}

void TF_ShedShow::BackBtnClick() {
  if (mesList_.empty()) return;
  Select(selected_ <= 0 ? static_cast<int>(mesList_.size()) - 1 : selected_ - 1);
}

void TF_ShedShow::StatusListChange(Status status) {
  if (selected_ < 0 || selected_ >= static_cast<int>(messageMap_.size())) return;
  const int entry = messageMap_[static_cast<std::size_t>(selected_)];
  const std::string section = std::to_string(entry);
  SettingsFile file(FileName());
  // The entry may have been deleted since it popped up: nothing is written for it then.
  if (!file.View().SectionExists(section)) {
    MesListChange();
    return;
  }
  const bool written = ReportWriteErrors(ctx_.ports.dialogs, [&] {
    file.WriteBool(section, "Enabled", status != Status::kDone);
    ctx_.custodo.BackupSettingsFile(org_file::kName);
  });
  if (written && ScheduleTable::Holds(entry)) {
    schedule_.Table()[entry].MessageOff = status != Status::kOn;
    if (status == Status::kOn) schedule_.ScheduleEntry(entry, false);
  }
  MesListChange();
}

void TF_ShedShow::MesMemoEnter() {
  ++listFocusRequests_;
  changed();
}

void TF_ShedShow::Timer1Timer() {
  nums_ = std::to_string(selected_ + 1) + "/" + std::to_string(mesList_.size());
  // The window keeps to the top right corner, wherever it was moved.
  left_ = ctx_.ports.screen.Width() - width_;
  top_ = 0;
  changed();
}

void TF_ShedShow::Resized(int width) {
  width_ = width;
  changed();
}

void TF_ShedShow::Moved(int left, int top) {
  left_ = left;
  top_ = top;
}

}  // namespace pelorin
