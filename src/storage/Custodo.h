#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/AtomicFile.h"
#include "common/FileError.h"
#include "ports/Dialogs.h"
#include "ports/Log.h"
#include "storage/SuiteLayout.h"

namespace pelorin {

// The sum of all bytes as unsigned values, its low 32 bits: the checksum custodo.sys
// records (as an unsigned decimal number). An empty file sums to 0, which custodo.sys
// reads as "no checksum recorded".
std::uint32_t ByteSum(std::string_view bytes);
// A checksum as custodo.sys holds it; 0 (no checksum) for a text that is none. Older
// records hold the same 32 bits as a signed number, negative for large files.
std::uint32_t RecordedSum(std::string_view text);

// True for a name that Custodo takes as a settings file's name without extension: not
// empty, not "." or "..", and without a "/".
bool IsSettingsFileName(std::string_view name);

// Custodo, the protection of the user's data against damage: every time a settings
// file or a page is written it is copied into the backup directory and its checksum
// (or length) recorded in the backup database custodo.sys; before it is read, it is
// compared with the record and, when they differ, the user is offered the backup.
//
// The system settings file is always protected. A profile's files are protected only
// while its option `Custodo` is on; `HiProtect` adds the checksum to the length check
// of notebook and day book pages. Both options are given by the owner (they live in
// the profile's main.hf), and so is the current profile's `Path`.
//
// Copies are atomic; copies of scrambled files are readable by the owner only. A copy
// that the system refuses fails without a message, and the record is written all the
// same; a record that cannot be written raises SettingsWriteError. What the user is not
// told (a refused copy, a file that could not be read for its backup, a backup left
// unfinished, a damaged file put back from its copy) goes to the log, source
// "backup", one line each. Questions and
// messages go to the Dialogs port with the caption "Pelorin Security System" and a
// warning icon.
//
// A save that was cut short before its backup (the suite was killed between writing a
// file and backing it up) is not damage: a file whose content stamp (ContentStamp.h)
// shows that the suite wrote it whole passes the check, and the backup is finished
// then. A file that exists but cannot be read is not damage either: the check says so,
// naming the file and the system's reason, offers nothing and fails. A restore that
// the system refuses is reported the same way.
//
// Names of settings files are given without extension ("status", "main"); page
// numbers run from 0 to 99; day book dates are six digits, month first ("070405").
// Anything else raises std::invalid_argument.
class Custodo {
 public:
  // The caption of every message about damaged or lost files.
  static constexpr std::string_view kSecurityCaption = "Pelorin Security System";

  // The log's source for every line Custodo writes.
  static constexpr std::string_view kLogSource = "backup";

  Custodo(SuiteLayout layout, std::string profilePath, ports::Dialogs& dialogs, ports::Log& log);

  void SetProfilePath(std::string profilePath) { profilePath_ = std::move(profilePath); }
  const std::string& ProfilePath() const { return profilePath_; }
  void SetCustodo(bool on) { custodo_ = on; }
  bool CustodoEnabled() const { return custodo_; }
  void SetHiProtect(bool on) { hiProtect_ = on; }
  bool HiProtectEnabled() const { return hiProtect_; }

  // Copies pelorin.hf to Custodo/pelorin.bk and records its sum (0 when it is
  // missing) in Custodo/custodo.sys, SYSTEM/pelorin.hf. Always, whatever `Custodo`.
  void BackupSystemFile();
  // When Custodo/pelorin.bk exists, asks whether to restore it; true when the user
  // said Yes and the copy was put back over pelorin.hf.
  bool RestoreSystemFile();

  // After {name}.hif of the profile was written: with `Custodo` on, copy it to
  // {name}.bk and record its sum under HIF/{name}.hif; otherwise (or when the file
  // is missing) drop the backup copy and its record.
  void BackupSettingsFile(std::string_view name);
  // Before {name}.hif is read: true when it is undamaged, missing, unprotected or
  // restored from its backup; false when it is damaged and was not restored.
  bool CheckSettingsFile(std::string_view name);
  // The same for the scrambled {name}.hf (section HF, "Protected file" messages).
  void BackupScrambledFile(std::string_view name);
  bool CheckScrambledFile(std::string_view name);

  // Notebook page `page` (file Data/Note{NN}, backup note{NN}.bk, records
  // NOTE/Page{n} and NOTE/PageHi{n}); it is called page n + 1 in messages.
  void BackupNotePage(int page);
  bool CheckNotePage(int page);
  // Day book page of `mmddyy` (file Data/DB{MMDDYY}.hf, backup db{MMDDYY}.bk,
  // records DBOOK/Page{MMDDYY} and DBOOK/PageHi{MMDDYY}); called "MM.DD.YY".
  void BackupDayPage(std::string_view mmddyy);
  bool CheckDayPage(std::string_view mmddyy);

 private:
  // A notebook or day book page with everything Custodo keeps about it.
  struct Page {
    std::filesystem::path file;
    std::filesystem::path backup;
    std::string section;
    std::string lengthKey;
    std::string sumKey;
    std::string subject;  // how the messages name the page
  };

  // Plain {name}.hif (section HIF) or scrambled {name}.hf (section HF).
  void BackupSettings(std::string_view name, bool scrambled);
  bool CheckSettings(std::string_view name, bool scrambled);
  void BackupPage(const Page& page);
  bool CheckPage(const Page& page);
  Page NotePage(int page) const;
  Page DayPage(std::string_view mmddyy) const;

  std::filesystem::path SettingsFileOf(std::string_view name, bool scrambled) const;
  // The question or message about a damaged file whose subject is `subject`; true
  // when the user chose to restore and the backup was copied over the file.
  bool OfferBackup(const std::string& subject, const std::filesystem::path& file,
                   const std::filesystem::path& backup, FileAccess access);
  // Copies the backup over the file; false, after saying why, when that is refused.
  bool Restore(const std::filesystem::path& backup, const std::filesystem::path& file,
               FileAccess access);
  // Tells the user that the system refused to read or write a file; false.
  bool ReportRefusal(const FileError& refusal);
  void FinishInterruptedBackup(const std::filesystem::path& file,
                               const std::function<void()>& backup);
  void WriteBackupCopy(const std::filesystem::path& file, const std::filesystem::path& backup,
                       std::string_view bytes, FileAccess access);
  void RemoveBackupCopy(const std::filesystem::path& backup);
  // The bytes of a file to back up; nothing, after logging why, when it cannot be read
  // (a missing file is no failure and is not logged).
  std::optional<std::string> ReadForBackup(const std::filesystem::path& file);
  void Note(const std::string& line) { log_.Write(std::string(kLogSource), line); }
  std::filesystem::path ProfileBackupDir() const;
  void CreateProfileBackupDir() const;

  SuiteLayout layout_;
  std::string profilePath_;
  ports::Dialogs& dialogs_;
  ports::Log& log_;
  bool custodo_ = false;
  bool hiProtect_ = false;
};

}  // namespace pelorin
