#include "alarms/ReminderFile.h"

#include <algorithm>
#include <charconv>

#include "common/Text.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace {

constexpr std::array<const char*, 7> kDayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

std::string DayKey(std::size_t day) {
  return "Day" + std::to_string(day + 1);
}

}  // namespace

namespace reminder_file {

int AlarmCount(const SettingsView& file) {
  int highest = -1;
  for (const std::string& name : file.ReadSections()) {
    if (name.empty() || name.size() > 9 || !IsDigits(name)) continue;
    highest = std::max(highest, std::stoi(name));
  }
  return std::min(file.ReadInteger(kSystem, "Count", 0), highest + 1);
}

std::filesystem::path StandardAlarmFile(const std::filesystem::path& programDir, int level) {
  return programDir / "System" / "Snd" / ("C_Remind" + std::to_string(level) + ".wav");
}

std::filesystem::path StandardChimeFile(const std::filesystem::path& programDir, int level) {
  return programDir / "System" / "Snd" / ("C_EveryHour" + std::to_string(level) + ".wav");
}

}  // namespace reminder_file

AlarmEntry AlarmEntry::Read(const SettingsView& file, int position) {
  const std::string section = std::to_string(position);
  AlarmEntry entry;
  entry.Caption = file.ReadString(section, "Caption", "");
  entry.Hour = file.ReadString(section, "Hour", "12");
  entry.Min = file.ReadString(section, "Min", "00");
  entry.Enabled = file.ReadBool(section, "Enabled", false);
  for (std::size_t day = 0; day < entry.Days.size(); ++day)
    entry.Days[day] = file.ReadBool(section, DayKey(day), false);
  entry.DayE = file.ReadBool(section, "DayE", false);
  entry.SndStd = file.ReadBool(section, "SndStd", true);
  entry.SndFile = file.ReadBool(section, "SndFile", false);
  entry.SndLoop = file.ReadBool(section, "SndLoop", false);
  entry.SndFilename = file.ReadString(section, "SndFilename", "");
  return entry;
}

void AlarmEntry::Write(SettingsFile& file, int position) const {
  const std::string section = std::to_string(position);
  file.WriteString(section, "Caption", Caption);
  file.WriteString(section, "Hour", Hour);
  file.WriteString(section, "Min", Min);
  file.WriteBool(section, "Enabled", Enabled);
  for (std::size_t day = 0; day < Days.size(); ++day)
    file.WriteBool(section, DayKey(day), Days[day]);
  file.WriteBool(section, "DayE", DayE);
  file.WriteBool(section, "SndStd", SndStd);
  file.WriteBool(section, "SndFile", SndFile);
  file.WriteBool(section, "SndLoop", SndLoop);
  file.WriteString(section, "SndFilename", SndFilename);
}

std::string DaysText(const std::array<bool, 7>& days, bool except) {
  const auto set = std::ranges::count(days, true);
  if (set == 7) return except ? "None" : "All";
  if (set == 0) return except ? "All" : "None";
  std::string text = except ? "Ex. " : "";
  bool first = true;
  for (std::size_t day = 0; day < days.size(); ++day) {
    if (!days[day]) continue;
    if (!first) text += ",";
    text += kDayNames[day];
    first = false;
  }
  return text;
}

std::string LeftTimeField(std::string_view text, std::string_view empty, int highest) {
  if (text.empty()) return std::string(empty);
  std::string field(text);
  if (field.size() == 1) field.insert(field.begin(), '0');
  if (!IsDigits(field)) return std::string(empty);
  // All digits: a long run of them is simply above the limit.
  int value = highest;
  if (field.size() <= 4) std::from_chars(field.data(), field.data() + field.size(), value);
  return PadNumber(std::min(value, highest), 2, '0');
}

}  // namespace pelorin
