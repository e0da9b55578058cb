#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace pelorin {

// Identity of a profile: its number in the profile table (from 1), access type
// (0 "Particular access", 1 "Full access"), folder name and shown name.
struct ProfileIdentity {
  int number = 1;
  int type = 1;
  std::string path = "Master";
  std::string name = "Master";
};

struct WindowPlace {
  int x = 0;
  int y = 0;
};

// The six access passwords of a profile (main.hf section AC).
struct AccessPasswords {
  std::string GEN1, CDA1, PCA1, CFG1, DB1, HF1;
};

// The fly panel's options after `Enable` (main.hf section FLYPANEL).
struct FlyPanelOptions {
  bool Enable = true;
  bool OpenEnhanced = false;
  bool HideEnhanced = true;
  bool Invisible = false;
  bool ShowMM = true;
  bool Clock = false;
  bool FastMM = true;
  bool MixerFly = true;
  bool ClockFlash = true;
};

// The values the main window holds and the applets read. Each is written only where
// its comment says.
struct SharedValues {
  // Set at start-up.
  std::filesystem::path ProgramDir;  // the home
  std::filesystem::path ProfileDir;  // the current profile's folder (ProgramDir before one)
  bool RestoringMode = false;
  bool NTFamily = true;
  bool FirstRun = false;  // the first-run installation ran in this process
  std::vector<std::string> MissingLinks;
  std::vector<std::string> MissingPictures;

  // Start-up options (pelorin.hf System).
  bool SplashScreen = true;
  bool PassProfile = false;
  bool TrayIcon = true;
  bool ShowProfiles = false;
  bool BlockCancel = false;
  bool AutoProfile = false;
  int ProfilesCount = 1;

  // The current profile and the one remembered while a change waits for its password.
  ProfileIdentity Current;
  ProfileIdentity Previous;
  std::string CurrentPass;  // the current profile's password (pelorin.hf Profile{n}/Pass)
  bool ProfileActive = false;
  // Set when LoadProfile has finished and cleared while it runs: until then the
  // profile's passwords are not known, and no command that asks one is taken.
  bool ProfileLoaded = false;
  bool ProfileSwitchPending = false;
  bool StartupSelection = false;
  bool FromSelector = false;
  bool Locked = false;

  // main.hf (written by LoadProfile and the Preferences dialog).
  bool SleepShow = true;
  bool CenterWindows = false;
  bool Custodo = false;
  bool HiProtect = false;
  bool StartupFileEx = true;
  bool StartupPicEx = true;
  bool SpyFileEx = false;
  bool SpyPicEx = false;
  int ExInterval = 60;
  FlyPanelOptions FlyPanel;
  std::array<bool, 18> MenuFlags{};   // [1]..[17]; [12] unused
  std::array<bool, 18> PanelFlags{};  // [1]..[17]; [12] unused
  AccessPasswords AC;

  // Positions of the three windows that take them from here when shown.
  WindowPlace NotePlace, TelPlace, DBPlace;

  // mixerfly.hif: the mixer line (-1 = none), the start volume and the auto-play flags.
  int MixID = -1, DestID = -1, SourceID = -1;
  bool StartVol = false;
  int StartValue = 50;
  bool AutoPlay = false, AutoStop = false;

  // Date control and on-demand windows.
  bool AutostartWanted = false;  // the entry existed at start-up or was switched on
  std::string RememberedDate;    // MM/DD/YYYY
  bool DateIllusion = false;
  bool PreferencesOpen = false;
  bool PhoneBookCreated = false;

  // A playlist position for the media player to jump to (-1 = none), set by the CD
  // agent and carried out by the 200 ms timer.
  int PlaylistRequest = -1;
};

}  // namespace pelorin
