#pragma once

#include <optional>

#include "common/SystemInfo.h"
#include "core/CoreContext.h"

namespace pelorin {

class SettingsFile;

// The installation that runs once, when the system settings do not say `Installed`:
// the Master profile with its folders and files, the defaults that depend on the
// system's version, the autostart entry, and the message that welcomes the owner.
class FirstRunInstallation {
 public:
  // run.hif UseW2K and reminder.hif UsePC, EveryHourPC of the first profile.
  struct VersionDefaults {
    bool UseW2K = false;
    bool UsePC = false;
    bool EveryHourPC = false;
  };
  // Nothing for a system of which the suite knows no defaults.
  static std::optional<VersionDefaults> DefaultsFor(const WindowsVersionInfo& version);

  explicit FirstRunInstallation(CoreContext& ctx);

  // `system` is the open plain copy of pelorin.hf; it is saved, deleted and backed up
  // here. Raises SettingsWriteError when a file cannot be written.
  void Run(SettingsFile& system);

 private:
  void CreateMasterProfile(SettingsFile& system);
  void WriteVersionDefaults();

  CoreContext& ctx_;
};

}  // namespace pelorin
