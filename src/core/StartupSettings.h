#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/Hotkeys.h"
#include "core/SharedValues.h"
#include "ports/Desktop.h"

namespace pelorin {

class SettingsFile;

// The start-up options and the start profile as the system settings (pelorin.hf) give
// them when the main window is created.
struct StartupSettings {
  // More profiles than this are not read: a damaged count must not stall the start.
  static constexpr int kMaxProfiles = 1000;

  bool SplashScreen = true;
  bool PassProfile = false;
  bool TrayIcon = true;
  THotkey MenuKey;
  bool ShowProfiles = false;
  bool BlockCancel = false;
  bool AutoProfile = false;
  int ProfilesCount = 1;  // 1 .. kMaxProfiles
  // The start profile: CurrentProfile, or the first profile whose `Auto` names the
  // logged-on user when AutoProfile is on.
  ProfileIdentity StartProfile;
  std::string StartProfilePass;
  bool StartProfileFolderValid = true;  // false: its Path breaks the folder rule
  // SYSTEM/Priority: 0 idle, 1 normal, 2 high; any other value leaves it unchanged.
  std::optional<ports::ProcessPriority> Priority;

  static StartupSettings Read(const SettingsFile& system, std::string_view logonUserName);
};

}  // namespace pelorin
