#include "storage/Custodo.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBackupFound =
    " is damaged, but backup copy of it found in Custodo database. Restore?";
constexpr std::string_view kNoBackup =
    " is damaged. No backup copies found. Restoration is not possible.";
constexpr int kNotebookPages = 100;

// Replaces `destination` with the bytes of `source`; false when either step fails.
bool CopyFileAtomically(const fs::path& source, const fs::path& destination) {
  const std::optional<std::string> bytes = ReadWholeFile(source);
  return bytes && WriteFileAtomically(destination, *bytes);
}

void RemoveFile(const fs::path& file) {
  std::error_code ignored;
  fs::remove(file, ignored);
}

// Deletes a record without creating a backup database that does not exist yet.
void DeleteRecord(const fs::path& database, std::string_view section, std::string_view key) {
  SettingsFile records(database);
  if (records.ValueExists(section, key)) records.DeleteKey(section, key);
}

void RequireFileName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos) {
    throw std::invalid_argument("not a settings file name: \"" + std::string(name) + "\"");
  }
}

void RequireDayPageDate(std::string_view mmddyy) {
  if (mmddyy.size() != 6 || mmddyy.find_first_not_of("0123456789") != std::string_view::npos) {
    throw std::invalid_argument("not a day book date (MMDDYY): \"" + std::string(mmddyy) + "\"");
  }
}

ports::MessageRequest Warning(std::string text, ports::DialogButtons buttons) {
  ports::MessageRequest request;
  request.text = std::move(text);
  request.caption = std::string(Custodo::kSecurityCaption);
  request.icon = ports::DialogIcon::Warning;
  request.buttons = buttons;
  return request;
}

}  // namespace

std::int32_t ByteSum(std::string_view bytes) {
  std::uint32_t sum = 0;
  for (const char c : bytes)
    sum += static_cast<unsigned char>(c);
  return static_cast<std::int32_t>(sum);
}

Custodo::Custodo(SuiteLayout layout, std::string profilePath, ports::Dialogs& dialogs)
    : layout_(std::move(layout)), profilePath_(std::move(profilePath)), dialogs_(dialogs) {}

void Custodo::BackupSystemFile() {
  const std::optional<std::string> bytes = ReadWholeFile(layout_.SystemSettingsFile());
  if (bytes) WriteFileAtomically(layout_.BackupDir() / "pelorin.bk", *bytes);
  SettingsFile(SuiteLayout::BackupDatabase(layout_.BackupDir()))
      .WriteInteger("SYSTEM", "pelorin.hf", bytes ? ByteSum(*bytes) : 0);
}

bool Custodo::RestoreSystemFile() {
  const fs::path backup = layout_.BackupDir() / "pelorin.bk";
  if (!PathExists(backup)) return false;
  const ports::DialogAnswer answer = dialogs_.Show(
      Warning("Protected file \"pelorin.hf\" is lost or damaged, but backup copy of it found in "
              "Custodo database. Try to restore?",
              ports::DialogButtons::YesNo));
  return answer == ports::DialogAnswer::Yes &&
         CopyFileAtomically(backup, layout_.SystemSettingsFile());
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

void Custodo::BackupSettings(std::string_view name, bool scrambled) {
  RequireFileName(name);
  const fs::path profileDir = layout_.ProfileDir(profilePath_);
  const fs::path file = scrambled ? SuiteLayout::ScrambledFile(profileDir, name)
                                  : SuiteLayout::PlainTwin(profileDir, name);
  const fs::path backup = ProfileBackupDir() / (std::string(name) + ".bk");
  const fs::path database = SuiteLayout::BackupDatabase(ProfileBackupDir());
  const std::string section = scrambled ? "HF" : "HIF";
  const std::string key = file.filename().string();

  const std::optional<std::string> bytes = ReadWholeFile(file);
  if (custodo_ && bytes) {
    WriteFileAtomically(backup, *bytes);
    SettingsFile(database).WriteInteger(section, key, ByteSum(*bytes));
  } else if (!custodo_ || !PathExists(file)) {
    // A file that exists but cannot be read keeps its last backup.
    DeleteRecord(database, section, key);
    RemoveFile(backup);
  }
}

bool Custodo::CheckSettings(std::string_view name, bool scrambled) {
  RequireFileName(name);
  if (!custodo_) return true;
  CreateProfileBackupDir();
  const fs::path profileDir = layout_.ProfileDir(profilePath_);
  const fs::path file = scrambled ? SuiteLayout::ScrambledFile(profileDir, name)
                                  : SuiteLayout::PlainTwin(profileDir, name);
  if (!PathExists(file)) return true;

  const std::string key = file.filename().string();
  const int recorded = SettingsFile(SuiteLayout::BackupDatabase(ProfileBackupDir()))
                           .ReadInteger(scrambled ? "HF" : "HIF", key, 0);
  const std::int32_t sum = ByteSum(ReadWholeFile(file).value_or(""));
  if (recorded <= 0 || recorded == sum) return true;

  const std::string subject = (scrambled ? "Protected file \"" : "File \"") + key + "\"";
  return OfferBackup(subject, file, ProfileBackupDir() / (std::string(name) + ".bk"));
}

void Custodo::BackupPage(const Page& page) {
  CreateProfileBackupDir();
  const fs::path database = SuiteLayout::BackupDatabase(ProfileBackupDir());
  const std::optional<std::string> bytes = ReadWholeFile(page.file);
  if (custodo_ && bytes) {
    WriteFileAtomically(page.backup, *bytes);
    const std::int32_t sum = hiProtect_ ? ByteSum(*bytes) : 0;
    SettingsFile records(database);
    if (sum != 0) {
      records.WriteInteger(page.section, page.sumKey, sum);
    } else if (records.ValueExists(page.section, page.sumKey)) {
      records.DeleteKey(page.section, page.sumKey);
    }
    records.WriteInteger(page.section, page.lengthKey, static_cast<std::int32_t>(bytes->size()));
  } else if (!custodo_ || !PathExists(page.file)) {
    DeleteRecord(database, page.section, page.lengthKey);
    DeleteRecord(database, page.section, page.sumKey);
    RemoveFile(page.backup);
  }
}

bool Custodo::CheckPage(const Page& page) {
  if (!custodo_) return true;
  CreateProfileBackupDir();
  if (!PathExists(page.file)) return true;

  const SettingsFile records(SuiteLayout::BackupDatabase(ProfileBackupDir()));
  const int recordedSum = records.ReadInteger(page.section, page.sumKey, 0);
  const int recordedLength = records.ReadInteger(page.section, page.lengthKey, 0);
  const std::string bytes = ReadWholeFile(page.file).value_or("");
  const auto length = static_cast<std::int32_t>(bytes.size());
  const std::int32_t sum = hiProtect_ ? ByteSum(bytes) : 0;

  const bool lengthMatches = recordedLength == 0 || recordedLength == length;
  const bool sumMatches = recordedSum <= 0 || recordedSum == sum;
  if (lengthMatches && sumMatches) return true;
  return OfferBackup(page.subject, page.file, page.backup);
}

Custodo::Page Custodo::NotePage(int page) const {
  if (page < 0 || page >= kNotebookPages) {
    throw std::invalid_argument("not a notebook page: " + std::to_string(page));
  }
  const fs::path file = layout_.NotePageFile(profilePath_, page);
  const std::string n = std::to_string(page);
  // The file is "Note04"; its backup is "note04.bk".
  std::string backupName = file.filename().string();
  backupName[0] = 'n';
  return Page{file,         ProfileBackupDir() / (backupName + ".bk"),          "NOTE", "Page" + n,
              "PageHi" + n, "Page " + std::to_string(page + 1) + " of notebook"};
}

Custodo::Page Custodo::DayPage(std::string_view mmddyy) const {
  RequireDayPageDate(mmddyy);
  const std::string date(mmddyy);
  const std::string shown = date.substr(0, 2) + "." + date.substr(2, 2) + "." + date.substr(4, 2);
  return Page{layout_.DayPageFile(profilePath_, date),
              ProfileBackupDir() / ("db" + date + ".bk"),
              "DBOOK",
              "Page" + date,
              "PageHi" + date,
              "Page \"" + shown + "\" of day book"};
}

bool Custodo::OfferBackup(const std::string& subject, const fs::path& file,
                          const fs::path& backup) {
  if (!PathExists(backup)) {
    dialogs_.Show(Warning(subject + std::string(kNoBackup), ports::DialogButtons::Ok));
    return false;
  }
  const ports::DialogAnswer answer =
      dialogs_.Show(Warning(subject + std::string(kBackupFound), ports::DialogButtons::YesNo));
  // A restore that the system refuses leaves the file damaged, so it counts as not
  // restored.
  return answer == ports::DialogAnswer::Yes && CopyFileAtomically(backup, file);
}

fs::path Custodo::ProfileBackupDir() const {
  return layout_.ProfileBackupDir(profilePath_);
}

void Custodo::CreateProfileBackupDir() const {
  std::error_code ignored;
  fs::create_directories(ProfileBackupDir(), ignored);
}

}  // namespace pelorin
