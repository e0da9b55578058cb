#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelorin {

class SettingsFile;
class SettingsView;

// reminder.hif: section SYSTEM with the reminder's options and `Count`, and one
// numbered section per alarm ("0", "1", ...), dense, in list order.
namespace reminder_file {

inline constexpr char kName[] = "reminder";  // base name of the profile's file
inline constexpr char kSystem[] = "SYSTEM";
inline constexpr int kOwnFileLevel = 4;  // `Volume`/`EveryHourVolume`: the own file

// The number of alarms: `Count`, but no more than the sections present reach (a
// damaged or hand-edited Count far beyond them adds only absent sections).
int AlarmCount(const SettingsView& file);

// The standard sounds, in System/Snd of the home; the digit is the level, 0 softest.
std::filesystem::path StandardAlarmFile(const std::filesystem::path& programDir, int level);
std::filesystem::path StandardChimeFile(const std::filesystem::path& programDir, int level);

}  // namespace reminder_file

// One alarm as its section holds it. The defaults are the editor's; the due check
// reads `Enabled` with the default true (a section without the key rings).
struct AlarmEntry {
  std::string Caption;
  std::string Hour = "12";
  std::string Min = "00";
  bool Enabled = false;
  std::array<bool, 7> Days{};  // Day1 (Monday) .. Day7 (Sunday)
  bool DayE = false;           // Except: rings on the days whose box is clear
  bool SndStd = true;
  bool SndFile = false;
  bool SndLoop = false;
  std::string SndFilename;

  static AlarmEntry Read(const SettingsView& file, int position);
  // Writes every key of the section.
  void Write(SettingsFile& file, int position) const;
  // "hh:mm" as the list shows it.
  std::string TimeText() const { return Hour + ":" + Min; }
};

// The "Day of week" column: the set days' names joined by ",", with "Ex. " in front
// under Except; all seven give "All" ("None" under Except), none give "None" ("All"
// under Except).
std::string DaysText(const std::array<bool, 7>& days, bool except);

// The hour and minute fields as they are left: empty becomes `empty`, one character
// gets a leading "0", digits are limited to `highest` and written with two digits,
// anything else becomes `empty`.
std::string LeftTimeField(std::string_view text, std::string_view empty, int highest);
inline std::string LeftHourField(std::string_view text) {
  return LeftTimeField(text, "12", 23);
}
inline std::string LeftMinuteField(std::string_view text) {
  return LeftTimeField(text, "00", 59);
}

}  // namespace pelorin
