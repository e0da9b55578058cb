#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "organizer/OrgEntry.h"
#include "ports/LocalTime.h"

namespace pelorin {

// Conversion between organizer entries and iCalendar text (RFC 5545), for the user's
// other calendars. Entries carry no year, iCalendar events need one: an entry is
// placed on its next date from `now` on.

// The largest calendar file taken in; anything bigger is no calendar of one person.
inline constexpr std::size_t kMaxCalendarBytes = 16 * 1024 * 1024;

// Raised for a text that is not an iCalendar file at all.
class CalendarFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A VCALENDAR with one VEVENT per entry, in the order given. `now` is the local time
// the years are chosen from; `stampUtc` the DTSTAMP ("YYYYMMDDTHHMMSSZ").
std::string ExportCalendar(const std::vector<OrgEntry>& entries, const ports::LocalTime& now,
                           const std::string& stampUtc);

struct CalendarImport {
  std::vector<OrgEntry> entries;  // the events the organizer can represent, in file order
  int skipped = 0;                // the others
};

// The events of `text`. Raises CalendarFormatError when it holds no VCALENDAR.
CalendarImport ImportCalendar(std::string_view text);

// Building blocks, open for their own checks.
namespace ics {
// TEXT value escaping of \ ; , and line breaks, and its reverse.
std::string EscapeText(std::string_view text);
std::string UnescapeText(std::string_view text);
// One content line: folded so that no physical line exceeds 75 octets (never inside
// a UTF-8 sequence), each ended by CRLF.
std::string FoldLine(std::string_view line);
// The logical lines of a text: CRLF or LF ends, continuation lines joined.
std::vector<std::string> UnfoldLines(std::string_view text);
}  // namespace ics

}  // namespace pelorin
