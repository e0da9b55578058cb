#include "storage/SuiteLayout.h"

#include <cstdio>
#include <string>
#include <system_error>

#include "common/AtomicFile.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace fs = std::filesystem;

SuiteLayout::SuiteLayout(fs::path home) : home_(std::move(home)) {}

fs::path SuiteLayout::SystemSettingsFile() const {
  return home_ / "pelorin.hf";
}

fs::path SuiteLayout::SystemSettingsCopy() const {
  return home_ / "pelorin.hif";
}

fs::path SuiteLayout::StartupSettingsCopy() const {
  return home_ / "pelorin.start.hif";
}

fs::path SuiteLayout::ProfilesDir() const {
  return home_ / "Profiles";
}

fs::path SuiteLayout::ProfileDir(std::string_view profilePath) const {
  return ProfilesDir() / profilePath;
}

fs::path SuiteLayout::ProfileDataDir(std::string_view profilePath) const {
  return ProfileDir(profilePath) / "Data";
}

fs::path SuiteLayout::NotePageFile(std::string_view profilePath, int page) const {
  char name[16];
  std::snprintf(name, sizeof name, "Note%02d", page);
  return ProfileDataDir(profilePath) / name;
}

fs::path SuiteLayout::DayPageFile(std::string_view profilePath, std::string_view mmddyy) const {
  return ProfileDataDir(profilePath) / ("DB" + std::string(mmddyy) + ".hf");
}

fs::path SuiteLayout::BackupDir() const {
  return home_ / "Custodo";
}

fs::path SuiteLayout::ProfileBackupDir(std::string_view profilePath) const {
  return BackupDir() / profilePath;
}

fs::path SuiteLayout::SettingsBackupFile(std::string_view profilePath,
                                         std::string_view name) const {
  return ProfileBackupDir(profilePath) / (std::string(name) + ".bk");
}

fs::path SuiteLayout::NotePageBackupFile(std::string_view profilePath, int page) const {
  char name[16];
  std::snprintf(name, sizeof name, "note%02d", page);
  return SettingsBackupFile(profilePath, name);
}

fs::path SuiteLayout::DayPageBackupFile(std::string_view profilePath,
                                        std::string_view mmddyy) const {
  return SettingsBackupFile(profilePath, "db" + std::string(mmddyy));
}

fs::path SuiteLayout::BackupDatabase(const fs::path& backupDir) {
  return backupDir / "custodo.sys";
}

fs::path SuiteLayout::ScrambledFile(const fs::path& directory, std::string_view name) {
  return directory / (std::string(name) + std::string(kScrambledExtension));
}

fs::path SuiteLayout::PlainTwin(const fs::path& directory, std::string_view name) {
  return directory / (std::string(name) + std::string(kPlainExtension));
}

void SuiteLayout::WriteMarker(const fs::path& plainFile) {
  std::error_code cause;
  if (!fs::exists(plainFile, cause) &&
      !WriteFileAtomically(plainFile, "", {Durability::Transient, FileAccess::OwnerOnly}, cause)) {
    throw SettingsWriteError(plainFile, cause);
  }
  SettingsFile(plainFile).WriteString("SYSTEM", "FILEOK", "OK");
}

}  // namespace pelorin
