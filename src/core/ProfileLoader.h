#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/CoreContext.h"

namespace pelorin {

class CoreHotkeys;
class MainMenu;
class SettingsFile;

// `LoadProfile`: the one place where a profile's settings are (re)loaded. It runs the
// rows of the load's step table in their order; this class fills the core's own rows
// (and the start volume of a resume).
class ProfileLoader {
 public:
  ProfileLoader(CoreContext& ctx, MainMenu& menu, CoreHotkeys& hotkeys);

  void LoadProfile(const std::string& path);
  // Every channel of the chosen mixer line to the start volume (mixerfly.hif StartValue,
  // a percentage): at load and when the computer wakes up. While the mixer has not
  // answered yet, that is done as soon as it answers.
  void ApplyStartVolume();

  // Programs entries beyond this count are not put into the submenu: a damaged count
  // must not stall the load.
  static constexpr int kMaxProgramEntries = 10000;

 private:
  void BindSteps();
  bool Ended() const;
  std::filesystem::path PlainFile(std::string_view name) const;
  void Progress(int position);
  // A profile folder that lost its Data folder or its files: the backups Custodo holds
  // are offered first, then what is still missing is made anew (empty scrambled files,
  // an empty Data folder) and the user is told.
  void RepairLostProfile(const std::string& path);
  static std::vector<std::string_view> MissingScrambledFiles(
      const std::filesystem::path& directory);
  // Raises SettingsWriteError when a file cannot be made.
  void CreateMissingScrambledFiles(const std::filesystem::path& directory,
                                   const std::vector<std::string_view>& missing);
  bool ReadMainSettings();
  void CheckMixerLine(SettingsFile& mixerfly);
  void ReadMixerLine();
  void ApplyStartVolumeWhenKnown();
  void BuildProgramsSubmenu();
  void BackUpProfileFiles();

  CoreContext& ctx_;
  MainMenu& menu_;
  CoreHotkeys& hotkeys_;
  // The folder of the profile being loaded.
  std::string loadingPath_;
  // Looks for the mixer's first answer while a start volume waits for it.
  std::unique_ptr<ports::Timer> mixerWait_;
};

}  // namespace pelorin
