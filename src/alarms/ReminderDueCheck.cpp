#include "alarms/ReminderDueCheck.h"

#include <algorithm>

#include "alarms/ReminderFile.h"
#include "alarms/RingService.h"
#include "common/Dates.h"
#include "core/CoreContext.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace {

using reminder_file::kOwnFileLevel;
using reminder_file::kSystem;

// A level outside the standard ones and the own file rings as "NORMAL" does.
constexpr int kFallbackLevel = 2;

int Number(std::string_view text, std::size_t from) {
  return (text[from] - '0') * 10 + (text[from + 1] - '0');
}

}  // namespace

ReminderDueCheck::ReminderDueCheck(CoreContext& ctx, RingService& ring)
    : ctx_(ctx),
      ring_(ring),
      timer_(ctx.ports.timers.Create("RemTimer", kIntervalMs, [this] { RemTimerTimer(); })) {}

void ReminderDueCheck::ForgetRings() {
  chimeDone_ = false;
  lastRingMinute_ = kNoMinute;
  lastRingDay_.clear();
  file_.reset();  // the next check opens the loaded profile's file
}

void ReminderDueCheck::RemTimerTimer() {
  const std::string now = TimeNowText(ctx_.ports.clock);  // HH:MM:SS
  const int hour = Number(now, 0);
  const int minute = Number(now, 3);
  if (!file_) file_.emplace(ctx_.values.ProfileDir / (std::string(reminder_file::kName) + ".hif"));
  // One look at the file for the whole check.
  const SettingsView file = file_->View();
  if (file.ReadBool(kSystem, "EveryHour", true)) Chime(file, minute);
  Alarms(file, hour, minute, now.substr(0, 5));
}

void ReminderDueCheck::Chime(const SettingsView& file, int minute) {
  if (minute != 0) {
    chimeDone_ = false;
    return;
  }
  if (chimeDone_) return;
  const int level = file.ReadInteger(kSystem, "EveryHourVolume", 2);
  std::string sound;
  if (level == kOwnFileLevel) {
    sound = file.ReadString(kSystem, "EHFilename", "");
  } else {
    const int standard = level >= 0 && level < kOwnFileLevel ? level : kFallbackLevel;
    sound = reminder_file::StandardChimeFile(ctx_.values.ProgramDir, standard).string();
  }
  if (file.ReadBool(kSystem, "EveryHourSC", true))
    ring_.ChimePlayer().Play(sound, ports::Repeat::Once);
  if (file.ReadBool(kSystem, "EveryHourPC", false))
    ctx_.ports.sound.Tone(file.ReadInteger(kSystem, "EveryHourFQ", 5000),
                          file.ReadInteger(kSystem, "EveryHourDU", 300));
  chimeDone_ = true;
}

void ReminderDueCheck::Alarms(const SettingsView& file, int hour, int minute,
                              const std::string& hhmm) {
  // A Count beyond the sections present only adds absent sections, which have no day
  // set and never ring: they need not be read one by one.
  const int last = reminder_file::AlarmCount(file);
  if (last <= 0) return;
  const std::string dayKey = "Day" + std::to_string(WeekdayToday(ctx_.ports.clock));
  const std::string today = DateNowText(ctx_.ports.clock);
  // The options are the same for every alarm of this look at the file.
  const int level = file.ReadInteger(kSystem, "Volume", 2);
  const int frequency = file.ReadInteger(kSystem, "PCFQ", 1850);
  const int duration = std::min(file.ReadInteger(kSystem, "PCDU", 80), RingService::kLongestBeepMs);
  for (int i = 0; i < last; ++i) {
    const std::string section = std::to_string(i);
    if (file.ReadInteger(section, "Hour", 12) != hour) continue;
    if (file.ReadInteger(section, "Min", 0) != minute) continue;
    if (!file.ReadBool(section, "Enabled", true)) continue;
    const bool except = file.ReadBool(section, "DayE", false);
    if (file.ReadBool(section, dayKey, false) == except) continue;

    // Every due alarm sets the ring's beeper; only the first of a minute starts it.
    const bool ownFile = file.ReadBool(section, "SndFile", false);
    ring_.BeepFrequency = frequency;
    ring_.BeepDuration = duration;
    ring_.BeepAllowed = !ownFile;
    // The day is part of the minute: the same alarm rings again tomorrow.
    if (lastRingMinute_ == hhmm && lastRingDay_ == today) continue;

    std::string sound;
    ports::Repeat repeat = ports::Repeat::Loop;
    if (ownFile) {
      sound = file.ReadString(section, "SndFilename", "");
      repeat = file.ReadBool(section, "SndLoop", false) ? ports::Repeat::Loop : ports::Repeat::Once;
    } else if (level == kOwnFileLevel) {
      sound = file.ReadString(kSystem, "Filename", "");
      repeat =
          file.ReadBool(kSystem, "LoopFile", false) ? ports::Repeat::Loop : ports::Repeat::Once;
    } else {
      const int standard = level >= 0 && level < kOwnFileLevel ? level : kFallbackLevel;
      sound = reminder_file::StandardAlarmFile(ctx_.values.ProgramDir, standard).string();
    }
    ring_.PrepareSound(std::move(sound), repeat);
    ring_.UseSoundCard = file.ReadBool(kSystem, "UseSC", true);
    ring_.UsePcSpeaker = file.ReadBool(kSystem, "UsePC", false);
    ring_.StartRing();
    lastRingMinute_ = hhmm;
    lastRingDay_ = today;
  }
}

}  // namespace pelorin
