#include "storage/ScrambledFiles.h"

#include <system_error>
#include <utility>

#include "storage/Scrambler.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t kKey = SuiteLayout::kScrambledFileKey;
constexpr const char* kRestorationFailed =
    "Restoration of file is fail. Continue of execution is not possible.";

// Removes a plain twin; one that the system keeps (it holds passwords) is logged.
void RemoveFile(const fs::path& file, ports::Log& log) {
  std::error_code cause;
  if (!fs::remove(file, cause) && cause) {
    log.Write("settings",
              "the plain copy " + file.string() + " cannot be removed: " + cause.message());
  }
}

// Deletes a plain twin when it goes out of scope, however the scope is left.
class PlainTwinGuard {
 public:
  PlainTwinGuard(fs::path twin, ports::Log& log) : twin_(std::move(twin)), log_(log) {}
  ~PlainTwinGuard() { RemoveFile(twin_, log_); }
  PlainTwinGuard(const PlainTwinGuard&) = delete;
  PlainTwinGuard& operator=(const PlainTwinGuard&) = delete;

 private:
  fs::path twin_;
  ports::Log& log_;
};

// `change` inside one transaction on the plain twin, so that all its changes reach the
// twin in one write, which need not wait for the disk: the scrambled file written from
// the twin is what lasts.
std::function<void(SettingsFile&)> InOneWrite(const std::function<void(SettingsFile&)>& change) {
  return [&change](SettingsFile& twin) {
    SettingsTransaction transaction(twin, Durability::Transient);
    change(twin);
    transaction.Commit();
  };
}

std::string DamagedText(std::string_view fileName) {
  return "Warning! Protected file \"" + std::string(fileName) +
         "\" is damaged! Continue of execution is not possible!";
}

}  // namespace

ScrambledFiles::ScrambledFiles(SuiteLayout layout, std::string profilePath, ports::Dialogs& dialogs,
                               ports::Log& log, Custodo& custodo, std::function<void()> saveAndQuit)
    : layout_(std::move(layout)),
      profilePath_(std::move(profilePath)),
      dialogs_(dialogs),
      log_(log),
      custodo_(custodo),
      saveAndQuit_(std::move(saveAndQuit)) {}

fs::path ScrambledFiles::ProfileDir() const {
  return layout_.ProfileDir(profilePath_);
}

fs::path ScrambledFiles::PlainTwin(std::string_view name) const {
  return SuiteLayout::PlainTwin(ProfileDir(), name);
}

void ScrambledFiles::DeletePlainTwin(std::string_view name) const {
  RemoveFile(PlainTwin(name), log_);
}

bool ScrambledFiles::OpenScrambled(std::string_view name) {
  const fs::path scrambled = SuiteLayout::ScrambledFile(ProfileDir(), name);
  const fs::path twin = PlainTwin(name);
  FileError refusal;
  const UnscrambleOutcome outcome = UnscrambleFile(scrambled, twin, kKey, refusal);
  if (outcome == UnscrambleOutcome::kUnscrambled) return true;
  RemoveFile(twin, log_);  // a twin left by an earlier run must not outlive the failed open
  // A file the system will not let the suite read or unscramble is not damaged: the
  // user is told why, and no restore is offered.
  if (outcome == UnscrambleOutcome::kRefused) {
    Fatal(refusal.Message());
    return false;
  }

  if (!custodo_.CheckScrambledFile(name)) {
    Fatal(DamagedText(scrambled.filename().string()));
    return false;
  }
  // Restored, or nothing to restore: the suite ends either way, and only says so
  // when the file still does not unscramble.
  if (UnscrambleFile(scrambled, twin, kKey)) {
    RemoveFile(twin, log_);
    if (saveAndQuit_) saveAndQuit_();
  } else {
    Fatal(kRestorationFailed);
  }
  return false;
}

bool ScrambledFiles::SaveScrambled(std::string_view name, FileError* refusal) {
  return ScrambleFile(PlainTwin(name), SuiteLayout::ScrambledFile(ProfileDir(), name), kKey,
                      refusal);
}

bool ScrambledFiles::CreateEmptyProfileFiles(const fs::path& directory) {
  bool allWritten = true;
  for (const std::string_view name : kProfileFileNames) {
    const fs::path twin = SuiteLayout::PlainTwin(directory, name);
    RemoveFile(twin, log_);  // a stale twin would add its keys to the marker
    const PlainTwinGuard guard(twin, log_);
    SuiteLayout::WriteMarker(twin);
    // The old scrambled file is replaced atomically, so it stays when this fails.
    allWritten =
        ScrambleFile(twin, SuiteLayout::ScrambledFile(directory, name), kKey) && allWritten;
  }
  return allWritten;
}

bool ScrambledFiles::OpenSystemSettings() {
  const fs::path scrambled = layout_.SystemSettingsFile();
  const fs::path copy = layout_.SystemSettingsCopy();
  FileError refusal;
  const UnscrambleOutcome outcome = UnscrambleFile(scrambled, copy, kKey, refusal);
  if (outcome == UnscrambleOutcome::kUnscrambled) return true;
  RemoveFile(copy, log_);  // a copy left by an earlier run must not outlive the failed open
  if (outcome == UnscrambleOutcome::kRefused) {
    Fatal(refusal.Message());
    return false;
  }

  if (!custodo_.RestoreSystemFile()) {
    Fatal(DamagedText(scrambled.filename().string()));
    return false;
  }
  if (UnscrambleFile(scrambled, copy, kKey)) return true;
  Fatal(kRestorationFailed);
  return false;
}

bool ScrambledFiles::SaveSystemSettings(FileError* refusal) {
  return ScrambleFile(layout_.SystemSettingsCopy(), layout_.SystemSettingsFile(), kKey, refusal);
}

void ScrambledFiles::DeleteSystemSettingsCopy() const {
  RemoveFile(layout_.SystemSettingsCopy(), log_);
}

bool ScrambledFiles::ReadScrambled(std::string_view name,
                                   const std::function<void(const SettingsFile&)>& read) {
  if (!OpenScrambled(name)) return false;
  const PlainTwinGuard guard(PlainTwin(name), log_);
  read(SettingsFile(PlainTwin(name)));
  return true;
}

bool ScrambledFiles::ChangeScrambled(std::string_view name,
                                     const std::function<void(SettingsFile&)>& changeKeys) {
  const auto change = InOneWrite(changeKeys);
  if (!OpenScrambled(name)) return false;
  {
    const PlainTwinGuard guard(PlainTwin(name), log_);
    SettingsFile twin(PlainTwin(name));
    change(twin);
    FileError refusal;
    if (!SaveScrambled(name, &refusal)) {
      throw SettingsWriteError(SuiteLayout::ScrambledFile(ProfileDir(), name), refusal.cause);
    }
  }
  custodo_.BackupScrambledFile(name);
  return true;
}

bool ScrambledFiles::ReadSystemSettings(const std::function<void(const SettingsFile&)>& read) {
  if (!OpenSystemSettings()) return false;
  const PlainTwinGuard guard(layout_.SystemSettingsCopy(), log_);
  read(SettingsFile(layout_.SystemSettingsCopy()));
  return true;
}

bool ScrambledFiles::ChangeSystemSettings(const std::function<void(SettingsFile&)>& changeKeys) {
  const auto change = InOneWrite(changeKeys);
  if (!OpenSystemSettings()) return false;
  {
    const PlainTwinGuard guard(layout_.SystemSettingsCopy(), log_);
    SettingsFile copy(layout_.SystemSettingsCopy());
    change(copy);
    FileError refusal;
    if (!SaveSystemSettings(&refusal)) {
      throw SettingsWriteError(layout_.SystemSettingsFile(), refusal.cause);
    }
  }
  custodo_.BackupSystemFile();
  return true;
}

void ScrambledFiles::Fatal(std::string text) {
  dialogs_.Show(ports::MessageRequest{.text = std::move(text),
                                      .caption = std::string(Custodo::kSecurityCaption),
                                      .icon = ports::DialogIcon::None,
                                      .buttons = ports::DialogButtons::Ok});
  if (saveAndQuit_) saveAndQuit_();
}

}  // namespace pelorin
