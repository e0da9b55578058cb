#pragma once

#include <optional>
#include <string>

#include "organizer/DayMonth.h"

namespace pelorin {

class SettingsView;

// The keys of an organizer entry that decide when it comes due, read from its section
// of org.hif with the defaults of a file made by hand. A number outside what the
// editor's boxes allow is brought into their range as their exit checks bring it (an
// hour of 30 is 23, a day of 0 is 1); a text that is no number reads as the default.
struct EntryTiming {
  int hour = 0;
  int minute = 0;
  DayMonth date;
  bool hasTime = false;  // `Time`: without it the entry is due at any time of day
  bool hasDate = false;  // `Date`: without it the entry is for every day
  int everyDay = 0;      // repetition by days; 0 = none
  int repeat = 0;        // repetition within the day; 0 = none
  bool repeatInMinutes = false;
  bool enabled = true;  // false: completed
  // The "repeat until" time of day and the "repeat up to" date.
  bool untilSet = false;
  int untilMinuteOfDay = 0;
  bool upToSet = false;
  DayMonth upTo;

  // Nothing when the entry has no section.
  static std::optional<EntryTiming> Read(const SettingsView& file, int entry);

  int MinuteOfDay() const { return hour * 60 + minute; }
  // HHMM of the configured time.
  std::string TimeText() const;

  // An occurrence at this time of day lies at or after the "repeat until" time.
  bool PastUntil(int minuteOfDay) const { return untilSet && minuteOfDay >= untilMinuteOfDay; }
  // An occurrence on `date` (today or later, a date before today being next year's)
  // lies after the "repeat up to" date; a "repeat up to" date before today has passed.
  bool BeyondUpTo(const DayMonth& date, const DayMonth& today) const;
};

}  // namespace pelorin
