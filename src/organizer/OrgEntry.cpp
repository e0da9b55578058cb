#include "organizer/OrgEntry.h"

#include <algorithm>

#include "common/Text.h"
#include "organizer/OrgFile.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace org_file {

int StoredEntryCount(const SettingsView& file) {
  const int count = file.ReadInteger(kSystem, "Count", 0);
  if (count <= 0) return 0;
  int highest = -1;
  for (const std::string& name : file.ReadSections()) {
    if (name.empty() || name.size() > 9 || !IsDigits(name)) continue;
    if (name.size() > 1 && name[0] == '0') continue;  // "01" is not entry 1
    highest = std::max(highest, std::stoi(name));
  }
  return std::min(count, highest + 1);
}

int NumberOf(std::string_view text) {
  int value = 0;
  for (std::size_t i = 0; i < text.size() && i < 4 && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10 + (text[i] - '0');
  return value;
}

}  // namespace org_file

std::string MemoKey(int line) {
  return "MEMO" + std::to_string(line);
}

int MemoLineCount(const SettingsView& file, const std::string& section) {
  const int claimed = file.ReadInteger(section, "MEMOCount", 0);
  if (claimed <= 0) return 0;
  // Only a long claim is worth checking against the section's keys.
  if (claimed <= 64) return claimed;
  int present = 0;
  for (const std::string& key : file.ReadSection(section)) {
    const std::string name = UpCaseText(key);
    if (name.size() > 4 && name.size() <= 13 && name.starts_with("MEMO") &&
        IsDigits(std::string_view(name).substr(4)))
      present = std::max(present, std::stoi(name.substr(4)) + 1);
  }
  return std::min(claimed, present);
}

OrgEntry OrgEntry::Read(const SettingsView& file, int entry) {
  const std::string s = std::to_string(entry);
  OrgEntry e;
  e.TITLE = file.ReadString(s, "TITLE", "");
  const int lines = MemoLineCount(file, s);
  e.Memo.reserve(static_cast<std::size_t>(lines));
  for (int i = 0; i < lines; ++i)
    e.Memo.push_back(file.ReadString(s, MemoKey(i), ""));
  e.EveryDay = file.ReadInteger(s, "EveryDay", 0);
  e.Repeat = file.ReadInteger(s, "Repeat", 0);
  e.RepeatMin = file.ReadBool(s, "RepeatMin", false);
  e.HourX = file.ReadString(s, "HourX", "00");
  e.MinuteX = file.ReadString(s, "MinuteX", "00");
  e.Time = file.ReadBool(s, "Time", false);
  e.DayX = file.ReadString(s, "DayX", "01");
  e.MonthX = file.ReadString(s, "MonthX", "01");
  e.Date = file.ReadBool(s, "Date", false);
  e.Enabled = file.ReadBool(s, "Enabled", true);
  e.PeriodT = file.ReadBool(s, "PeriodT", false);
  e.PeriodHour = file.ReadString(s, "PeriodHour", "00");
  e.PeriodMin = file.ReadString(s, "PeriodMin", "00");
  e.PeriodE = file.ReadBool(s, "PeriodE", false);
  e.PeriodDay = file.ReadString(s, "PeriodDay", "01");
  e.PeriodMonth = file.ReadString(s, "PeriodMonth", "01");
  e.SndOff = file.ReadBool(s, "SndOff", false);
  e.SndStd = file.ReadBool(s, "SndStd", true);
  e.SndFile = file.ReadBool(s, "SndFile", false);
  e.SndLoop = file.ReadBool(s, "SndLoop", false);
  e.SndFilename = file.ReadString(s, "SndFilename", "");
  return e;
}

void OrgEntry::Write(SettingsFile& file, int entry, bool withEnabled) const {
  const std::string s = std::to_string(entry);
  file.WriteString(s, "TITLE", TITLE);
  for (std::size_t i = 0; i < Memo.size(); ++i)
    file.WriteString(s, MemoKey(static_cast<int>(i)), Memo[i]);
  file.WriteInteger(s, "MEMOCount", static_cast<int>(Memo.size()));
  file.WriteInteger(s, "EveryDay", EveryDay);
  file.WriteInteger(s, "Repeat", Repeat);
  file.WriteBool(s, "RepeatMin", RepeatMin);
  file.WriteString(s, "HourX", HourX);
  file.WriteString(s, "MinuteX", MinuteX);
  file.WriteBool(s, "Time", Time);
  file.WriteString(s, "DayX", DayX);
  file.WriteString(s, "MonthX", MonthX);
  file.WriteBool(s, "Date", Date);
  if (withEnabled) file.WriteBool(s, "Enabled", Enabled);
  file.WriteBool(s, "PeriodT", PeriodT);
  file.WriteString(s, "PeriodHour", PeriodHour);
  file.WriteString(s, "PeriodMin", PeriodMin);
  file.WriteBool(s, "PeriodE", PeriodE);
  file.WriteString(s, "PeriodDay", PeriodDay);
  file.WriteString(s, "PeriodMonth", PeriodMonth);
  file.WriteBool(s, "SndOff", SndOff);
  file.WriteBool(s, "SndStd", SndStd);
  file.WriteBool(s, "SndFile", SndFile);
  file.WriteBool(s, "SndLoop", SndLoop);
  file.WriteString(s, "SndFilename", SndFilename);
}

}  // namespace pelorin
