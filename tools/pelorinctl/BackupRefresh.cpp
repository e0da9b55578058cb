#include <filesystem>
#include <iostream>

#include "CtlCommands.h"
#include "HomeOfFile.h"
#include "StderrDialogs.h"
#include "common/Text.h"
#include "storage/Custodo.h"
#include "storage/ScrambledFiles.h"

namespace fs = std::filesystem;

namespace pelorin::ctl {

void RefreshBackupAfterChange(const std::string& file) {
  const auto place = FindPlaceInHome(file);
  if (!place) return;
  StderrDialogs dialogs;
  const SuiteLayout layout(place->home);
  Custodo custodo(layout, place->profilePath, dialogs);
  try {
    if (place->profilePath.empty()) {
      custodo.BackupSystemFile();
      return;
    }
    // The profile's own option decides, as in the suite.
    ScrambledFiles scrambled(layout, place->profilePath, dialogs, custodo, [] {});
    bool protect = false;
    if (!scrambled.ReadScrambled("main", [&](const SettingsFile& main) {
          protect = main.ReadBool("SYSTEM", "Custodo", false);
        })) {
      std::cerr << "pelorinctl: main.hf of profile \"" << place->profilePath
                << "\" cannot be read; its backups were left as they are\n";
      return;
    }
    custodo.SetCustodo(protect);
    const fs::path name = fs::path(file).filename();
    const std::string ext = UpCaseText(name.extension().string());
    const std::string stem = name.stem().string();
    if (ext == ".HIF") custodo.BackupSettingsFile(stem);
    if (ext == ".HF") custodo.BackupScrambledFile(stem);
  } catch (const std::exception& e) {
    std::cerr << "pelorinctl: backup not refreshed: " << e.what() << "\n";
  }
}

}  // namespace pelorin::ctl
