#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/CoreContext.h"

namespace pelorin {

class SettingsFile;

// The windows whose places the core keeps in status.hif (section WPOS).
enum class AppletWindow { Run, Note, Tel, DB, Rem, Shed, Time, CDA, PCA };

// `LoadProfile`: the one place where a profile's settings are (re)loaded, with the
// window placement and the saving of window positions.
class ProfileLoader {
 public:
  explicit ProfileLoader(CoreContext& ctx);

  void LoadProfile(const std::string& path);
  void SaveWindowPositions();
  // Every channel of the chosen mixer line to the start volume (mixerfly.hif StartValue,
  // a percentage): at load and when the computer wakes up. While the mixer has not
  // answered yet, that is done as soon as it answers.
  void ApplyStartVolume();

  // Where an applet window stands (after placement, or as moved since).
  WindowPlace PlaceOf(AppletWindow window) const;
  void SetPlace(AppletWindow window, WindowPlace place);

  // The size the placement keeps each window inside the screen with. The windows of
  // the applets tell theirs; the notebook, day book and phone book have fixed sizes.
  struct WindowSize {
    int width = 0;
    int height = 0;
  };
  WindowSize SizeOf(AppletWindow window) const;
  void SetWindowSize(AppletWindow window, WindowSize size);

  // Programs entries beyond this count are not put into the submenu: a damaged count
  // must not stall the load.
  static constexpr int kMaxProgramEntries = 10000;

 private:
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
  void StopServices();
  bool ReadMainSettings();
  void ReadPowerHotkeys();
  void ReadMixerSettings();
  void CheckMixerLine(SettingsFile& mixerfly);
  void ApplyStartVolumeWhenKnown();
  void BuildProgramsSubmenu();
  void BackUpProfileFiles();
  void StartServices();
  void PlaceWindows(const class SettingsFile& status);

  CoreContext& ctx_;
  WindowPlace places_[9];
  WindowSize sizes_[9];
  // Set once this load has placed the windows: positions are saved only after that,
  // so that a load that fails early never overwrites the stored ones.
  bool positionsLoaded_ = false;
  // Looks for the mixer's first answer while a start volume waits for it.
  std::unique_ptr<ports::Timer> mixerWait_;
};

}  // namespace pelorin
