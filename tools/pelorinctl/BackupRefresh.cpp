#include <filesystem>
#include <iostream>

#include "CtlCommands.h"
#include "HomeOfFile.h"
#include "StderrDialogs.h"
#include "StderrLog.h"
#include "storage/Custodo.h"
#include "storage/ScrambledFiles.h"

namespace fs = std::filesystem;

namespace pelorin::ctl {

std::optional<std::string> BackupRefusal(const std::string& file) {
  const auto place = FindPlaceInHome(file);
  if (!place || place->profilePath.empty()) return std::nullopt;
  const auto name = ProfileFileNameOf(file);
  if (!name || IsSettingsFileName(name->name)) return std::nullopt;
  return file + " is not a name the suite's backup can keep; nothing was changed";
}

int RefreshBackupAfterChange(const std::string& file) {
  const auto place = FindPlaceInHome(file);
  if (!place) return kOk;
  StderrDialogs dialogs;
  StderrLog log;
  const SuiteLayout layout(place->home);
  Custodo custodo(layout, place->profilePath, dialogs, log);
  try {
    if (place->profilePath.empty()) {
      custodo.BackupSystemFile();
      return kOk;
    }
    const auto name = ProfileFileNameOf(file);
    if (!name) return kOk;  // not a settings file of the suite: it has no backup
    // The profile's own option decides, as in the suite.
    ScrambledFiles scrambled(layout, place->profilePath, dialogs, log, custodo, [] {});
    bool protect = false;
    if (!scrambled.ReadScrambled("main", [&](const SettingsFile& main) {
          protect = main.ReadBool("SYSTEM", "Custodo", false);
        })) {
      std::cerr << "pelorinctl: main.hf of profile \"" << place->profilePath
                << "\" cannot be read; the backups were left as they are\n";
      return kFailed;
    }
    custodo.SetCustodo(protect);
    if (name->scrambled) {
      custodo.BackupScrambledFile(name->name);
    } else {
      custodo.BackupSettingsFile(name->name);
    }
    return kOk;
  } catch (const std::exception& e) {
    std::cerr << "pelorinctl: the change was made, but its backup was not refreshed: " << e.what()
              << "\n";
    return kFailed;
  }
}

}  // namespace pelorin::ctl
