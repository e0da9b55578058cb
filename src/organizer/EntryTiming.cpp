#include "organizer/EntryTiming.h"

#include <algorithm>

#include "common/Text.h"
#include "storage/SettingsView.h"

namespace pelorin {
namespace {

int Bounded(const SettingsView& file, const std::string& section, std::string_view key,
            int defaultValue, int lowest, int highest) {
  return std::clamp(file.ReadInteger(section, key, defaultValue), lowest, highest);
}

}  // namespace

std::optional<EntryTiming> EntryTiming::Read(const SettingsView& file, int entry) {
  const std::string section = std::to_string(entry);
  if (!file.SectionExists(section)) return std::nullopt;
  EntryTiming timing;
  timing.hour = Bounded(file, section, "HourX", 0, 0, 23);
  timing.minute = Bounded(file, section, "MinuteX", 0, 0, 59);
  timing.date.day = Bounded(file, section, "DayX", 1, 1, 31);
  timing.date.month = Bounded(file, section, "MonthX", 1, 1, 12);
  timing.hasTime = file.ReadBool(section, "Time", false);
  timing.hasDate = file.ReadBool(section, "Date", false);
  timing.everyDay = std::max(file.ReadInteger(section, "EveryDay", 0), 0);
  timing.repeat = std::max(file.ReadInteger(section, "Repeat", 0), 0);
  timing.repeatInMinutes = file.ReadBool(section, "RepeatMin", false);
  timing.enabled = file.ReadBool(section, "Enabled", true);
  timing.untilSet = file.ReadBool(section, "PeriodT", false);
  timing.untilMinuteOfDay = Bounded(file, section, "PeriodHour", 0, 0, 23) * 60 +
                            Bounded(file, section, "PeriodMin", 0, 0, 59);
  timing.upToSet = file.ReadBool(section, "PeriodE", false);
  timing.upTo.day = Bounded(file, section, "PeriodDay", 1, 1, 31);
  timing.upTo.month = Bounded(file, section, "PeriodMonth", 1, 1, 12);
  return timing;
}

std::string EntryTiming::TimeText() const {
  return PadNumber(hour, 2, '0') + PadNumber(minute, 2, '0');
}

bool EntryTiming::BeyondUpTo(const DayMonth& when, const DayMonth& today) const {
  if (!upToSet) return false;
  if (upTo.Before(today)) return true;
  return when.DaysAfter(today) > upTo.DaysAfter(today);
}

}  // namespace pelorin
