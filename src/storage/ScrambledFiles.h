#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "common/FileError.h"
#include "ports/Dialogs.h"
#include "ports/Log.h"
#include "storage/Custodo.h"
#include "storage/SettingsFile.h"
#include "storage/SuiteLayout.h"

namespace pelorin {

// Open and save of the scrambled settings files: the profile's main.hf, wimcdax2.hf
// and wimpcax2.hf and the system settings file pelorin.hf. Such a file exists on disk
// only scrambled (key 857). To read it, it is unscrambled into its plain twin
// ({name}.hif, or pelorin.hif), which is read with the settings-file operations and
// deleted; to change it, the twin is written, scrambled back, deleted, and the
// scrambled file backed up by Custodo.
//
// A file that cannot be unscrambled ends the suite: the user is offered the backup
// copy, told that execution cannot continue, and `saveAndQuit` is called. A file that
// the system refuses to read, or whose twin it refuses to write (permissions, a
// read-only file system), also ends the suite, with a message that names the file and
// the reason; it is not damaged, so no restore is offered. Messages carry the caption
// "Pelorin Security System". Scrambled files and their twins are readable by the owner
// only. A twin that the system will not let go is left, and the log (source
// "settings") says so.
//
// ReadScrambled, ChangeScrambled, ReadSystemSettings and ChangeSystemSettings follow
// the whole protocol; the plain twin never outlives them, also when the callback
// raises (SettingsWriteError) or the file could not be opened.
class ScrambledFiles {
 public:
  // The scrambled files of every profile.
  static constexpr std::array<std::string_view, 3> kProfileFileNames = {"main", "wimcdax2",
                                                                        "wimpcax2"};

  ScrambledFiles(SuiteLayout layout, std::string profilePath, ports::Dialogs& dialogs,
                 ports::Log& log, Custodo& custodo, std::function<void()> saveAndQuit);

  void SetProfilePath(std::string profilePath) { profilePath_ = std::move(profilePath); }
  const std::string& ProfilePath() const { return profilePath_; }

  // {name}.hif in the current profile's directory.
  std::filesystem::path PlainTwin(std::string_view name) const;
  void DeletePlainTwin(std::string_view name) const;

  // Unscrambles {name}.hf of the current profile into its plain twin. True when the
  // twin is ready. Otherwise the fatal path has run (Custodo's restore offer, the
  // message, `saveAndQuit`) and the result is false; the suite ends even after a
  // successful restore, and the restored file is read at the next start.
  bool OpenScrambled(std::string_view name);
  // Scrambles the plain twin back into {name}.hf (replaced atomically); false when
  // the twin is missing or empty or the write was refused (`refusal` then says which
  // file and why).
  bool SaveScrambled(std::string_view name, FileError* refusal = nullptr);
  // Creates main.hf, wimcdax2.hf and wimpcax2.hf in `directory`, each holding only the
  // marker. False when a file could not be written (the old one then stays);
  // SettingsWriteError when a marker could not be written.
  bool CreateEmptyProfileFiles(const std::filesystem::path& directory);

  // The same for pelorin.hf and its plain copy pelorin.hif in the home. A damaged
  // pelorin.hf is offered Custodo's copy; after a successful restore the suite goes on.
  bool OpenSystemSettings();
  bool SaveSystemSettings(FileError* refusal = nullptr);
  void DeleteSystemSettingsCopy() const;

  // Read-only protocol: open, read, delete the twin. False when the file could not be
  // opened (the fatal path ran and `read` was not called).
  bool ReadScrambled(std::string_view name, const std::function<void(const SettingsFile&)>& read);
  // Change protocol: open, write, save, delete the twin, back up. `change` runs inside
  // one SettingsTransaction on the twin, so that the twin is written once, whatever
  // the number of keys it changes, and the scrambled file is not touched when it
  // raises. False when the file could not be opened (`change` was not called). Raises
  // SettingsWriteError when the twin or the scrambled file cannot be written; the scrambled file
  // then keeps its last saved content and nothing is backed up.
  bool ChangeScrambled(std::string_view name, const std::function<void(SettingsFile&)>& change);
  bool ReadSystemSettings(const std::function<void(const SettingsFile&)>& read);
  bool ChangeSystemSettings(const std::function<void(SettingsFile&)>& change);

 private:
  std::filesystem::path ProfileDir() const;
  // Shows a fatal message and ends the suite through `saveAndQuit`.
  void Fatal(std::string text);

  SuiteLayout layout_;
  std::string profilePath_;
  ports::Dialogs& dialogs_;
  ports::Log& log_;
  Custodo& custodo_;
  std::function<void()> saveAndQuit_;
};

}  // namespace pelorin
