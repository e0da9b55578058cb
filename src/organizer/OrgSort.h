#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "organizer/ScheduleTable.h"

namespace pelorin {

class SettingsView;

// The organizer's sort: org.hif rewritten with its entries in ascending order of
// (month, day, hour, minute) of their configured date and time, whatever their Date
// and Time flags say; entries with equal keys keep their order. The rewrite goes to
// OrgSort.hif in the same folder, which then replaces org.hif in one rename, so org.hif
// is replaced whole or not at all; a leftover OrgSort.hif is only ever overwritten.
//
// The new file holds the nine SYSTEM keys and, for every entry, each key of the entry
// written explicitly: a key missing from the old file is written with the rewrite's
// own fallback (for instance "99" for a missing hour or day, false for a missing
// Enabled, true for a missing Signal). Other sections are not carried over. Entries
// beyond the first 8192, which have no schedule row, keep their places after the
// sorted ones.
namespace org_sort {

// The order of the sort: for each new position the old index of the entry placed there.
std::vector<int> SortedOrder(const SettingsView& file, int entries);
// The bytes of the rewritten file for that order: the entries of `order`, then those
// from order.size() to `stored` - 1 as they stand.
std::string RewrittenBytes(const SettingsView& file, const std::vector<int>& order, int stored);
// The schedule rows moved with their entries.
void MoveRows(ScheduleTable& table, const std::vector<int>& order);

// Sorts org.hif (`file`) and moves the schedule rows with the entries. Raises
// SettingsWriteError when the new file cannot be written or put in place; org.hif and
// the rows are then unchanged.
void SortOrganizerFile(const std::filesystem::path& file, ScheduleTable& table);

}  // namespace org_sort
}  // namespace pelorin
