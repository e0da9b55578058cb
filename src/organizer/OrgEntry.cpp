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

int MemoLineCount(int claimed, const std::vector<std::string>& keyNames) {
  if (claimed <= kTrustedMemoLines) return std::max(claimed, 0);
  int present = 0;
  for (const std::string& key : keyNames) {
    const std::string name = UpCaseText(key);
    if (name.size() > 4 && name.size() <= 13 && name.starts_with("MEMO") &&
        IsDigits(std::string_view(name).substr(4)))
      present = std::max(present, std::stoi(name.substr(4)) + 1);
  }
  return std::min(claimed, present);
}

int MemoLineCount(const SettingsView& file, const std::string& section) {
  const int claimed = file.ReadInteger(section, "MEMOCount", 0);
  // Only a long claim is worth checking against the section's keys.
  if (claimed <= kTrustedMemoLines) return std::max(claimed, 0);
  return MemoLineCount(claimed, file.ReadSection(section));
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
  std::vector<std::pair<std::string, std::string>> keys;
  const auto text = [&](const char* key, const std::string& value) {
    keys.emplace_back(key, value);
  };
  const auto number = [&](const char* key, int value) { text(key, std::to_string(value)); };
  const auto flag = [&](const char* key, bool value) { text(key, value ? "1" : "0"); };
  text("TITLE", TITLE);
  for (std::size_t i = 0; i < Memo.size(); ++i)
    keys.emplace_back(MemoKey(static_cast<int>(i)), Memo[i]);
  number("MEMOCount", static_cast<int>(Memo.size()));
  number("EveryDay", EveryDay);
  number("Repeat", Repeat);
  flag("RepeatMin", RepeatMin);
  text("HourX", HourX);
  text("MinuteX", MinuteX);
  flag("Time", Time);
  text("DayX", DayX);
  text("MonthX", MonthX);
  flag("Date", Date);
  if (withEnabled) flag("Enabled", Enabled);
  flag("PeriodT", PeriodT);
  text("PeriodHour", PeriodHour);
  text("PeriodMin", PeriodMin);
  flag("PeriodE", PeriodE);
  text("PeriodDay", PeriodDay);
  text("PeriodMonth", PeriodMonth);
  flag("SndOff", SndOff);
  flag("SndStd", SndStd);
  flag("SndFile", SndFile);
  flag("SndLoop", SndLoop);
  text("SndFilename", SndFilename);
  file.WriteStrings(std::to_string(entry), keys);
}

}  // namespace pelorin
