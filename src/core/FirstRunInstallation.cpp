#include "core/FirstRunInstallation.h"

#include <system_error>

#include "common/Files.h"
#include "core/NoMixerLine.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMasterPath = "Master";

void CreateDirectory(const fs::path& directory) {
  std::error_code ec;
  if (!CreatePrivateDirectories(directory, ec)) throw SettingsWriteError(directory, ec);
}

}  // namespace

std::optional<FirstRunInstallation::VersionDefaults> FirstRunInstallation::DefaultsFor(
    const WindowsVersionInfo& version) {
  if (version.family == "NT" && version.majorVersion == 5) return VersionDefaults{true, true, true};
  if (version.family == "NT" && version.majorVersion == 4) {
    return VersionDefaults{false, true, true};
  }
  if (version.family == "9X") return VersionDefaults{false, false, false};
  return std::nullopt;
}

FirstRunInstallation::FirstRunInstallation(CoreContext& ctx) : ctx_(ctx) {}

void FirstRunInstallation::Run(SettingsFile& system) {
  // The table and the flag reach the plain copy in one write, just before it is
  // scrambled.
  SettingsTransaction tableChange(system, Durability::Transient);
  CreateMasterProfile(system);
  WriteVersionDefaults();

  const fs::path profileDir = ctx_.layout.ProfileDir(kMasterPath);
  SettingsFile mixerfly(SuiteLayout::PlainTwin(profileDir, "mixerfly"));
  WriteNoMixerLine(mixerfly);

  if (!ctx_.files.CreateEmptyProfileFiles(profileDir)) {
    throw SettingsWriteError(SuiteLayout::ScrambledFile(profileDir, "main"));
  }

  // A new desktop account has no autostart folder yet: writing the entry makes it.
  ctx_.ports.desktop.WriteAutostart();

  system.WriteBool("System", "Installed", true);
  tableChange.Commit();
  const bool saved = ctx_.files.SaveSystemSettings();
  ctx_.files.DeleteSystemSettingsCopy();
  if (!saved) throw SettingsWriteError(ctx_.layout.SystemSettingsFile());
  ctx_.custodo.BackupSystemFile();

  ctx_.ports.dialogs.Show(
      ports::MessageRequest{.text = "Pelorin installation successfully done, enjoy using it!",
                            .caption = "Brimwell  Pelorin  Ovelle"});
  ctx_.values.FirstRun = true;
}

void FirstRunInstallation::CreateMasterProfile(SettingsFile& system) {
  CreateDirectory(ctx_.layout.ProfileDataDir(kMasterPath));
  CreateDirectory(ctx_.layout.BackupDir());
  CreateDirectory(ctx_.layout.ProfileBackupDir(kMasterPath));

  system.WriteString("Profile1", "Name", "Master");
  system.WriteString("Profile1", "Path", kMasterPath);
  system.WriteString("Profile1", "Pass", "");
  system.WriteInteger("Profile1", "Type", 1);
  system.WriteString("Profile1", "Auto", "");
  system.WriteInteger("System", "ProfilesCount", 1);
  system.WriteInteger("System", "CurrentProfile", 1);
}

void FirstRunInstallation::WriteVersionDefaults() {
  WindowsVersionInfo version;
  if (!WindowsVersion(version)) return;
  const std::optional<VersionDefaults> defaults = DefaultsFor(version);
  if (!defaults) return;
  const fs::path profileDir = ctx_.layout.ProfileDir(kMasterPath);
  SettingsFile(SuiteLayout::PlainTwin(profileDir, "run"))
      .WriteBool("SYSTEM", "UseW2K", defaults->UseW2K);
  SettingsFile reminder(SuiteLayout::PlainTwin(profileDir, "reminder"));
  SettingsTransaction reminderChange(reminder);
  reminder.WriteBool("SYSTEM", "UsePC", defaults->UsePC);
  reminder.WriteBool("SYSTEM", "EveryHourPC", defaults->EveryHourPC);
  reminderChange.Commit();
}

}  // namespace pelorin
