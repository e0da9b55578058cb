#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelorin {

// Where the suite keeps its files under its home (`ProgramDir`):
//
//   pelorin.hf                   the system settings, scrambled
//   pelorin.hif                  its plain copy while it is read or changed
//   pelorin.start.hif            its plain copy while the start profile is asked for
//   Profiles/{path}/             `ProfileDir` of a profile: its settings files
//   Profiles/{path}/Data/        its notebook and day book pages
//   Custodo/                     `BackupDir`: pelorin.bk and custodo.sys
//   Custodo/{path}/              a profile's backup copies and custodo.sys
//
// {path} is a profile's `Path`. Nothing here touches the disk except WriteMarker.
class SuiteLayout {
 public:
  // The key of every scrambled settings file.
  static constexpr std::uint16_t kScrambledFileKey = 857;
  static constexpr std::string_view kScrambledExtension = ".hf";
  static constexpr std::string_view kPlainExtension = ".hif";

  explicit SuiteLayout(std::filesystem::path home);

  const std::filesystem::path& ProgramDir() const { return home_; }

  // pelorin.hf
  std::filesystem::path SystemSettingsFile() const;
  // pelorin.hif, the plain copy of pelorin.hf that exists only while it is read or
  // changed (and is deleted at shutdown in any case).
  std::filesystem::path SystemSettingsCopy() const;
  // pelorin.start.hif, a second plain copy that the start-up holds while it asks for
  // the start profile.
  std::filesystem::path StartupSettingsCopy() const;

  std::filesystem::path ProfilesDir() const;
  std::filesystem::path ProfileDir(std::string_view profilePath) const;
  std::filesystem::path ProfileDataDir(std::string_view profilePath) const;
  // Data/Note{NN}: notebook page `page` (0-99), numbered from 0 in the file name.
  std::filesystem::path NotePageFile(std::string_view profilePath, int page) const;
  // Data/DB{MMDDYY}.hf: the day book page of a date given as six digits, month first.
  std::filesystem::path DayPageFile(std::string_view profilePath, std::string_view mmddyy) const;

  std::filesystem::path BackupDir() const;
  std::filesystem::path ProfileBackupDir(std::string_view profilePath) const;
  // custodo.sys, the backup database of a backup directory.
  static std::filesystem::path BackupDatabase(const std::filesystem::path& backupDir);
  // The backup copies of a profile's files: {name}.bk of the settings file {name}.hf or
  // {name}.hif, note{NN}.bk of notebook page Data/Note{NN}, db{MMDDYY}.bk of day book
  // page Data/DB{MMDDYY}.hf.
  std::filesystem::path SettingsBackupFile(std::string_view profilePath,
                                           std::string_view name) const;
  std::filesystem::path NotePageBackupFile(std::string_view profilePath, int page) const;
  std::filesystem::path DayPageBackupFile(std::string_view profilePath,
                                          std::string_view mmddyy) const;

  // {name}.hf and its plain twin {name}.hif in a directory.
  static std::filesystem::path ScrambledFile(const std::filesystem::path& directory,
                                             std::string_view name);
  static std::filesystem::path PlainTwin(const std::filesystem::path& directory,
                                         std::string_view name);

  // Writes the marker SYSTEM/FILEOK = "OK" into a plain settings file, the content
  // every scrambled file starts with, so that none is ever scrambled from an empty
  // text. The file is a plain twin: one that does not exist yet is made readable by the
  // owner only. Raises SettingsWriteError when the file cannot be written.
  static void WriteMarker(const std::filesystem::path& plainFile);

 private:
  std::filesystem::path home_;
};

}  // namespace pelorin
