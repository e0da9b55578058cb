#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "alarms/AlarmsSubsystem.h"
#include "common/WaveFile.h"
#include "core/SuiteOnSim.h"
#include "storage/SettingsFile.h"

namespace pelorin::testing {

// The suite on simulated ports with its alarms subsystem, the profile loaded, and the
// clock at a chosen moment.
class AlarmsOnSim : public SuiteOnSim {
 public:
  AlarmsOnSim() : alarms(*suite.Find<AlarmsSubsystem>()) {}

  // reminder.hif or clock.hif of the profile, with this content.
  void WriteReminder(std::string_view text) { WriteBytes(ProfileFile("reminder"), text); }
  void WriteClock(std::string_view text) { WriteBytes(ProfileFile("clock"), text); }
  std::filesystem::path ProfileFile(std::string_view name) {
    return suite.values().ProfileDir / (std::string(name) + ".hif");
  }
  SettingsFile Reminder() { return SettingsFile(ProfileFile("reminder")); }

  // A playable wave of `ms` milliseconds.
  std::filesystem::path MakeWave(std::string_view name, int ms = 500) {
    const std::filesystem::path file = home.path() / name;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(8000 * ms / 1000), 1000);
    WriteWaveFile(file, 8000, samples);
    return file;
  }
  // The standard sounds in the home, as a new home gets them.
  void InstallStandardSounds() {
    std::filesystem::create_directories(
        reminder_file::StandardAlarmFile(home.path(), 0).parent_path());
    for (int level = 0; level < 4; ++level) {
      std::filesystem::copy_file(MakeWave("alarm.wav", 2000),
                                 reminder_file::StandardAlarmFile(home.path(), level),
                                 std::filesystem::copy_options::overwrite_existing);
      std::filesystem::copy_file(MakeWave("chime.wav", 1000),
                                 reminder_file::StandardChimeFile(home.path(), level),
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }

  // Sets the wall clock; the timers' count goes on undisturbed.
  void SetClock(int year, int month, int day, int hour, int minute, int second = 0) {
    clock.Set({year, month, day, hour, minute, second, 0});
  }

  // The rings started since the last clear: the ring player's plays.
  std::vector<sim::SoundEvent> Plays(std::string_view playerName) const {
    std::vector<sim::SoundEvent> plays;
    for (const sim::SoundEvent& e : sound.Events())
      if (e.kind == sim::SoundEvent::Kind::Play && e.player == playerName) plays.push_back(e);
    return plays;
  }

  AlarmsSubsystem& alarms;
};

}  // namespace pelorin::testing
