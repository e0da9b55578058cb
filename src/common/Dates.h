#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/Clock.h"

namespace pelorin {

// The suite keeps dates and times as fixed-form texts with leading zeros:
// DD.MM.YYYY, MM/DD/YYYY and HH:MM or HH:MM:SS (24-hour clock). The operations below
// read them by fixed character positions (from 1). A text that is too short or has a
// non-digit where a number belongs never leads to a read out of range: such a number
// field counts as 0, and the year operations return a text of the wrong length (or
// with a non-numeric two-digit year) unchanged.
//
// Two-digit years expand with the pivot 33: 00-33 mean 2000-2033, 34-99 1934-1999.

// HH:MM:SS, DD.MM.YYYY and MM/DD/YYYY of the clock's present moment.
std::string TimeNowText(const ports::Clock& clock);
std::string DateNowText(const ports::Clock& clock);
std::string DateNowTextUS(const ports::Clock& clock);

// The weekday of a date of the Gregorian calendar, Monday = 1 ... Sunday = 7. A day
// beyond the month's end counts on into the next days.
int WeekdayOf(int day, int month, int year);
int WeekdayToday(const ports::Clock& clock);

// DD.MM.YY -> DD.MM.YYYY and MM/DD/YY -> MM/DD/YYYY by the pivot; only a text of
// exactly 8 characters whose characters 7-8 are digits changes.
std::string ExpandYearDot(std::string_view date);
std::string ExpandYearSlash(std::string_view date);

// DD.MM.YYYY -> DD.MM.YY and MM/DD/YYYY -> MM/DD/YY; only a text of exactly 10
// characters changes.
std::string ShortenYearDot(std::string_view date);
std::string ShortenYearSlash(std::string_view date);

// Characters 7-10 of a 10-character date, else characters 7-8 (as far as they exist).
std::string YearPart(std::string_view date);

// '<', '>' or '=' for a before, after or equal to b. Dates DD.MM.YYYY (or DD.MM.YY)
// compare by year (`YearPart` as a number), then month, then day; times HH:MM by
// minutes since midnight.
char CompareDates(std::string_view a, std::string_view b);
char CompareTimes(std::string_view a, std::string_view b);

// The time HH:MM moved on by the duration HH:MM, around midnight: 23:30 + 01:15 = 00:45.
std::string AddTimes(std::string_view time, std::string_view duration);

// HH:MM for a number of minutes; the hours stop at 99 (6000 -> 99:00) and a negative
// number counts as 0.
std::string MinutesToText(int minutes);

// The date DD.MM.YYYY moved forward by the days of `offset` (characters 1-2 of a text
// DD.MM.YYYY; its month and year are not used). February has 28 days in every year.
// A date whose month is not 01-12 is returned unchanged.
std::string AddDaysToDate(std::string_view date, std::string_view offset);

// True for H:M or H:M:S with one- or two-digit fields: hours below 24, minutes and
// seconds below 60. An empty field, more than two colons or a field of more than two
// characters make the text invalid.
bool IsValidTime(std::string_view text);

// Appends the dates MM/DD/YYYY of `dates` to `sorted`, ascending, then regrouped by
// two-digit year: 00..99 in turn, so that 2000-2033 come before 1934-1999 when both
// occur. Items without a two-digit numeric year are left out. Returns true.
bool SortDates(const std::vector<std::string>& dates, std::vector<std::string>& sorted);

}  // namespace pelorin
