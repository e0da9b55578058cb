#include "core/StartupSettings.h"

#include <algorithm>

#include "common/Text.h"
#include "core/ProfileTable.h"
#include "core/SettingsHotkey.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

std::optional<ports::ProcessPriority> PriorityOf(int value) {
  switch (value) {
    case 0:
      return ports::ProcessPriority::Idle;
    case 1:
      return ports::ProcessPriority::Normal;
    case 2:
      return ports::ProcessPriority::High;
    default:
      return std::nullopt;
  }
}

}  // namespace

StartupSettings StartupSettings::Read(const SettingsFile& system, std::string_view logonUserName) {
  StartupSettings s;
  s.SplashScreen = system.ReadBool("System", "SplashScreen", true);
  s.PassProfile = system.ReadBool("System", "PassProfile", false);
  s.TrayIcon = system.ReadBool("System", "TrayIcon", true);
  s.MenuKey = ReadHotkey(system, "System", "MenuKey");
  s.ShowProfiles = system.ReadBool("System", "ShowProfiles", false);
  s.BlockCancel = system.ReadBool("System", "BlockCancel", false);
  int current = system.ReadInteger("System", "CurrentProfile", 1);
  s.ProfilesCount = std::clamp(system.ReadInteger("System", "ProfilesCount", 1), 1, kMaxProfiles);
  s.AutoProfile = system.ReadBool("System", "AutoProfile", false);

  if (s.AutoProfile) {
    // An empty logon name picks the first profile whose Auto is empty.
    const std::string logon = UpCaseText(logonUserName);
    for (int i = 1; i <= s.ProfilesCount; ++i) {
      if (UpCaseText(system.ReadString(ProfileSection(i), "Auto", "")) == logon) {
        current = i;
        break;
      }
    }
  }

  const ProfileEntry start = ReadProfileEntry(system, current);
  s.StartProfile = start.identity;
  s.StartProfilePass = start.pass;
  s.StartProfileFolderValid = start.folderValid;
  s.Priority = PriorityOf(system.ReadInteger("SYSTEM", "Priority", 1));
  return s;
}

}  // namespace pelorin
