#include "storage/Custodo.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/ContentStamp.h"
#include "common/FileError.h"
#include "common/Files.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsSyntax.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBackupFound =
    " is damaged, but backup copy of it found in Custodo database. Restore?";
constexpr std::string_view kNoBackup =
    " is damaged. No backup copies found. Restoration is not possible.";
constexpr int kNotebookPages = 100;

// Replaces `destination` with the bytes of `source`; false when either step fails,
// with the file and the reason in `refusal`.
bool CopyFileAtomically(const fs::path& source, const fs::path& destination, FileAccess access,
                        FileError& refusal) {
  refusal = {FileError::Operation::Read, source, {}};
  const std::optional<std::string> bytes = ReadWholeFile(source, refusal.cause);
  if (!bytes) return false;
  refusal = {FileError::Operation::Write, destination, {}};
  return WriteFileAtomically(destination, *bytes, {Durability::Durable, access}, refusal.cause);
}

// Copies of scrambled files hold what they protect: passwords.
FileAccess BackupAccess(bool scrambled) {
  return scrambled ? FileAccess::OwnerOnly : FileAccess::Shared;
}

void WriteSum(SettingsFile& records, std::string_view section, std::string_view key,
              std::uint32_t sum) {
  records.WriteString(section, key, std::to_string(sum));
}

// Deletes a record without creating a backup database that does not exist yet.
void DeleteRecord(const fs::path& database, std::string_view section, std::string_view key) {
  SettingsFile records(database);
  if (records.ValueExists(section, key)) records.DeleteKey(section, key);
}

void RequireFileName(std::string_view name) {
  if (!IsSettingsFileName(name)) {
    throw std::invalid_argument("not a settings file name: \"" + std::string(name) + "\"");
  }
}

void RequireDayPageDate(std::string_view mmddyy) {
  if (mmddyy.size() != 6 || mmddyy.find_first_not_of("0123456789") != std::string_view::npos) {
    throw std::invalid_argument("not a day book date (MMDDYY): \"" + std::string(mmddyy) + "\"");
  }
}

ports::MessageRequest Warning(std::string text, ports::DialogButtons buttons) {
  return ports::MessageRequest{.text = std::move(text),
                               .caption = std::string(Custodo::kSecurityCaption),
                               .icon = ports::DialogIcon::Warning,
                               .buttons = buttons};
}

}  // namespace

bool IsSettingsFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

std::uint32_t ByteSum(std::string_view bytes) {
  std::uint32_t sum = 0;
  for (const char c : bytes)
    sum += static_cast<unsigned char>(c);
  return sum;
}

std::uint32_t RecordedSum(std::string_view text) {
  // Older records hold the low 32 bits as a signed number (a large file's sum was
  // negative): the same 32 bits.
  if (const std::optional<int> value = ParseSettingsInteger(text)) {
    return static_cast<std::uint32_t>(*value);
  }
  const std::string_view digits = TrimSettingsBlanks(text);
  if (digits.empty() || digits.size() > 10 ||
      digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return 0;
  }
  const unsigned long long value = std::stoull(std::string(digits));
  return value <= UINT32_MAX ? static_cast<std::uint32_t>(value) : 0;
}

Custodo::Custodo(SuiteLayout layout, std::string profilePath, ports::Dialogs& dialogs,
                 ports::Log& log)
    : layout_(std::move(layout)),
      profilePath_(std::move(profilePath)),
      dialogs_(dialogs),
      log_(log) {}

void Custodo::BackupSystemFile() {
  const fs::path file = layout_.SystemSettingsFile();
  const std::optional<std::string> bytes = ReadForBackup(file);
  if (bytes)
    WriteBackupCopy(file, layout_.BackupDir() / "pelorin.bk", *bytes, FileAccess::OwnerOnly);
  SettingsFile records(SuiteLayout::BackupDatabase(layout_.BackupDir()));
  WriteSum(records, "SYSTEM", "pelorin.hf", bytes ? ByteSum(*bytes) : 0);
}

bool Custodo::RestoreSystemFile() {
  const fs::path backup = layout_.BackupDir() / "pelorin.bk";
  if (!PathExists(backup)) return false;
  const ports::DialogAnswer answer = dialogs_.Show(
      Warning("Protected file \"pelorin.hf\" is lost or damaged, but backup copy of it found in "
              "Custodo database. Try to restore?",
              ports::DialogButtons::YesNo));
  return answer == ports::DialogAnswer::Yes &&
         Restore(backup, layout_.SystemSettingsFile(), FileAccess::OwnerOnly);
}

void Custodo::BackupSettingsFile(std::string_view name) {
  BackupSettings(name, false);
}

bool Custodo::CheckSettingsFile(std::string_view name) {
  return CheckSettings(name, false);
}

void Custodo::BackupScrambledFile(std::string_view name) {
  BackupSettings(name, true);
}

bool Custodo::CheckScrambledFile(std::string_view name) {
  return CheckSettings(name, true);
}

void Custodo::BackupNotePage(int page) {
  BackupPage(NotePage(page));
}

bool Custodo::CheckNotePage(int page) {
  return CheckPage(NotePage(page));
}

void Custodo::BackupDayPage(std::string_view mmddyy) {
  BackupPage(DayPage(mmddyy));
}

bool Custodo::CheckDayPage(std::string_view mmddyy) {
  return CheckPage(DayPage(mmddyy));
}

fs::path Custodo::SettingsFileOf(std::string_view name, bool scrambled) const {
  RequireFileName(name);
  const fs::path profileDir = layout_.ProfileDir(profilePath_);
  return scrambled ? SuiteLayout::ScrambledFile(profileDir, name)
                   : SuiteLayout::PlainTwin(profileDir, name);
}

void Custodo::BackupSettings(std::string_view name, bool scrambled) {
  const fs::path file = SettingsFileOf(name, scrambled);
  const fs::path backup = layout_.SettingsBackupFile(profilePath_, name);
  const fs::path database = SuiteLayout::BackupDatabase(ProfileBackupDir());
  const std::string section = scrambled ? "HF" : "HIF";
  const std::string key = file.filename().string();

  const std::optional<std::string> bytes = custodo_ ? ReadForBackup(file) : std::nullopt;
  if (bytes) {
    WriteBackupCopy(file, backup, *bytes, BackupAccess(scrambled));
    SettingsFile records(database);
    WriteSum(records, section, key, ByteSum(*bytes));
  } else if (!custodo_ || !PathExists(file)) {
    // A file that exists but cannot be read keeps its last backup.
    DeleteRecord(database, section, key);
    RemoveBackupCopy(backup);
  }
}

bool Custodo::CheckSettings(std::string_view name, bool scrambled) {
  const fs::path file = SettingsFileOf(name, scrambled);
  if (!custodo_) return true;
  CreateProfileBackupDir();
  if (!PathExists(file)) return true;

  FileError unreadable{FileError::Operation::Read, file, {}};
  const std::optional<std::string> bytes = ReadWholeFile(file, unreadable.cause);
  if (!bytes) return ReportRefusal(unreadable);
  const std::string key = file.filename().string();
  const std::uint32_t recorded =
      RecordedSum(SettingsFile(SuiteLayout::BackupDatabase(ProfileBackupDir()))
                      .ReadString(scrambled ? "HF" : "HIF", key, "0"));
  if (recorded == 0 || recorded == ByteSum(*bytes)) return true;
  if (CarriesContentStamp(file, *bytes)) {
    // Saved whole by the suite, which ended before it could back the file up: the
    // backup is finished now instead of calling the user's change damage.
    FinishInterruptedBackup(file, [&] { BackupSettings(name, scrambled); });
    return true;
  }
  const std::string subject = (scrambled ? "Protected file \"" : "File \"") + key + "\"";
  return OfferBackup(subject, file, layout_.SettingsBackupFile(profilePath_, name),
                     BackupAccess(scrambled));
}

void Custodo::BackupPage(const Page& page) {
  CreateProfileBackupDir();
  const fs::path database = SuiteLayout::BackupDatabase(ProfileBackupDir());
  const std::optional<std::string> bytes = custodo_ ? ReadForBackup(page.file) : std::nullopt;
  // A page's record is its sum and its length: one write of the database for both.
  SettingsFile records(database);
  SettingsTransaction recordChange(records);
  if (bytes) {
    WriteBackupCopy(page.file, page.backup, *bytes, FileAccess::Shared);
    const std::uint32_t sum = hiProtect_ ? ByteSum(*bytes) : 0;
    if (sum != 0) {
      WriteSum(records, page.section, page.sumKey, sum);
    } else if (records.ValueExists(page.section, page.sumKey)) {
      records.DeleteKey(page.section, page.sumKey);
    }
    records.WriteInteger(page.section, page.lengthKey, static_cast<std::int32_t>(bytes->size()));
  } else if (!custodo_ || !PathExists(page.file)) {
    DeleteRecord(database, page.section, page.lengthKey);
    DeleteRecord(database, page.section, page.sumKey);
    RemoveBackupCopy(page.backup);
  }
  recordChange.Commit();
}

bool Custodo::CheckPage(const Page& page) {
  if (!custodo_) return true;
  CreateProfileBackupDir();
  if (!PathExists(page.file)) return true;

  FileError unreadable{FileError::Operation::Read, page.file, {}};
  const std::optional<std::string> bytes = ReadWholeFile(page.file, unreadable.cause);
  if (!bytes) return ReportRefusal(unreadable);
  const SettingsFile records(SuiteLayout::BackupDatabase(ProfileBackupDir()));
  const std::uint32_t recordedSum = RecordedSum(records.ReadString(page.section, page.sumKey, "0"));
  const int recordedLength = records.ReadInteger(page.section, page.lengthKey, 0);
  const auto length = static_cast<std::int32_t>(bytes->size());
  const std::uint32_t sum = hiProtect_ ? ByteSum(*bytes) : 0;

  const bool lengthMatches = recordedLength == 0 || recordedLength == length;
  const bool sumMatches = recordedSum == 0 || recordedSum == sum;
  if (lengthMatches && sumMatches) return true;
  if (CarriesContentStamp(page.file, *bytes)) {
    FinishInterruptedBackup(page.file, [&] { BackupPage(page); });
    return true;
  }
  return OfferBackup(page.subject, page.file, page.backup, FileAccess::Shared);
}

Custodo::Page Custodo::NotePage(int page) const {
  if (page < 0 || page >= kNotebookPages) {
    throw std::invalid_argument("not a notebook page: " + std::to_string(page));
  }
  const std::string n = std::to_string(page);
  return Page{layout_.NotePageFile(profilePath_, page),
              layout_.NotePageBackupFile(profilePath_, page),
              "NOTE",
              "Page" + n,
              "PageHi" + n,
              "Page " + std::to_string(page + 1) + " of notebook"};
}

Custodo::Page Custodo::DayPage(std::string_view mmddyy) const {
  RequireDayPageDate(mmddyy);
  const std::string date(mmddyy);
  const std::string shown = date.substr(0, 2) + "." + date.substr(2, 2) + "." + date.substr(4, 2);
  return Page{layout_.DayPageFile(profilePath_, date),
              layout_.DayPageBackupFile(profilePath_, date),
              "DBOOK",
              "Page" + date,
              "PageHi" + date,
              "Page \"" + shown + "\" of day book"};
}

bool Custodo::OfferBackup(const std::string& subject, const fs::path& file, const fs::path& backup,
                          FileAccess access) {
  if (!PathExists(backup)) {
    dialogs_.Show(Warning(subject + std::string(kNoBackup), ports::DialogButtons::Ok));
    return false;
  }
  const ports::DialogAnswer answer =
      dialogs_.Show(Warning(subject + std::string(kBackupFound), ports::DialogButtons::YesNo));
  return answer == ports::DialogAnswer::Yes && Restore(backup, file, access);
}

bool Custodo::Restore(const fs::path& backup, const fs::path& file, FileAccess access) {
  FileError refusal;
  if (CopyFileAtomically(backup, file, access, refusal)) {
    Note(file.string() + " was damaged and is restored from its backup " + backup.string());
    return true;
  }
  // The file stays as it was, so it counts as not restored.
  return ReportRefusal(refusal);
}

bool Custodo::ReportRefusal(const FileError& refusal) {
  dialogs_.Show(ports::MessageRequest{.text = refusal.Message(),
                                      .caption = std::string(kSecurityCaption),
                                      .icon = ports::DialogIcon::Error,
                                      .buttons = ports::DialogButtons::Ok});
  return false;
}

void Custodo::FinishInterruptedBackup(const fs::path& file, const std::function<void()>& backup) {
  try {
    backup();
  } catch (const SettingsWriteError& e) {
    // The file is sound; a backup that cannot be written now is tried again after the
    // next save or the next check.
    Note("the backup of " + file.string() +
         ", saved without it, cannot be finished: " + WriteFailureText(e.file(), e.cause()));
  }
}

void Custodo::WriteBackupCopy(const fs::path& file, const fs::path& backup, std::string_view bytes,
                              FileAccess access) {
  // A refused copy fails without a message: the last copy stays, and the next save tries
  // again.
  std::error_code cause;
  if (WriteFileAtomically(backup, bytes, {Durability::Durable, access}, cause)) return;
  Note("the backup of " + file.string() + " is not refreshed: " + WriteFailureText(backup, cause));
}

void Custodo::RemoveBackupCopy(const fs::path& backup) {
  std::error_code cause;
  if (!fs::remove(backup, cause) && cause) {
    Note("the backup " + backup.string() +
         " of a file no longer protected stays: " + cause.message());
  }
}

std::optional<std::string> Custodo::ReadForBackup(const fs::path& file) {
  std::error_code cause;
  std::optional<std::string> bytes = ReadWholeFile(file, cause);
  if (!bytes && PathExists(file)) {
    Note("the backup of " + file.string() +
         " keeps its last copy: " + ReadFailureText(file, cause));
  }
  return bytes;
}

fs::path Custodo::ProfileBackupDir() const {
  return layout_.ProfileBackupDir(profilePath_);
}

void Custodo::CreateProfileBackupDir() const {
  std::error_code ignored;
  CreatePrivateDirectories(ProfileBackupDir(), ignored);
}

}  // namespace pelorin
