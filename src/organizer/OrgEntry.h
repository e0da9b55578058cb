#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

class SettingsFile;
class SettingsView;

namespace org_file {

// The most entries the organizer keeps: one schedule row each for the check.
inline constexpr int kMaxEntries = 8192;

// The number of entries in org.hif: `Count`, but no more than the numbered sections
// present reach (a damaged or hand-edited Count far beyond them adds only absent
// sections) and never below 0.
int StoredEntryCount(const SettingsView& file);
// The entries the window and the schedule work on: the first kMaxEntries of them.
inline int WorkedEntryCount(int stored) {
  return stored < kMaxEntries ? stored : kMaxEntries;
}

// The number of a two-digit text as the organizer reads it: its leading digits, 0
// when it has none.
int NumberOf(std::string_view text);

}  // namespace org_file

// One organizer entry as its section holds it, read with the editor's defaults.
struct OrgEntry {
  std::string TITLE;
  std::vector<std::string> Memo;  // the keys MEMO0 .. MEMO<k-1>, k being MEMOCount
  int EveryDay = 0;
  int Repeat = 0;
  bool RepeatMin = false;
  std::string HourX = "00";
  std::string MinuteX = "00";
  bool Time = false;
  std::string DayX = "01";
  std::string MonthX = "01";
  bool Date = false;
  bool Enabled = true;
  bool PeriodT = false;
  std::string PeriodHour = "00";
  std::string PeriodMin = "00";
  bool PeriodE = false;
  std::string PeriodDay = "01";
  std::string PeriodMonth = "01";
  bool SndOff = false;
  bool SndStd = true;
  bool SndFile = false;
  bool SndLoop = false;
  std::string SndFilename;

  static OrgEntry Read(const SettingsView& file, int entry);
  // Writes every key, in the editor's order; `withEnabled` false leaves Enabled as the
  // file has it (Apply does not touch it).
  void Write(SettingsFile& file, int entry, bool withEnabled) const;
};

// The number of memo lines of a section: MEMOCount, but no more than the MEMO keys
// present reach (a claim of 100000 lines costs nothing).
int MemoLineCount(const SettingsView& file, const std::string& section);
// The same for a claim of `claimed` lines in a section of these keys.
int MemoLineCount(int claimed, const std::vector<std::string>& keyNames);
// Claims up to this many lines are taken as they stand.
inline constexpr int kTrustedMemoLines = 64;

std::string MemoKey(int line);

}  // namespace pelorin
