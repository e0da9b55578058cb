#include "storage/InterruptedSaves.h"

#include <string>
#include <system_error>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "storage/ScrambledFiles.h"

namespace pelorin {
namespace fs = std::filesystem;

namespace {

int RemoveIfPresent(const fs::path& file) {
  std::error_code ignored;
  return fs::remove(file, ignored) ? 1 : 0;
}

std::vector<fs::path> Subdirectories(const fs::path& directory) {
  std::vector<std::string> names;
  ListSubdirectories(directory, true, names);
  std::vector<fs::path> paths;
  paths.reserve(names.size());
  for (const std::string& name : names)
    paths.push_back(directory / name);
  return paths;
}

}  // namespace

int RemoveInterruptedSaves(const SuiteLayout& layout) {
  int removed = RemoveInterruptedWrites(layout.ProgramDir());
  removed += RemoveIfPresent(layout.SystemSettingsCopy());
  removed += RemoveIfPresent(layout.StartupSettingsCopy());

  for (const fs::path& profile : Subdirectories(layout.ProfilesDir())) {
    removed += RemoveInterruptedWrites(profile);
    removed += RemoveInterruptedWrites(profile / "Data");
    for (const std::string_view name : ScrambledFiles::kProfileFileNames) {
      removed += RemoveIfPresent(SuiteLayout::PlainTwin(profile, name));
    }
  }
  removed += RemoveInterruptedWrites(layout.BackupDir());
  for (const fs::path& backups : Subdirectories(layout.BackupDir())) {
    removed += RemoveInterruptedWrites(backups);
  }
  return removed;
}

}  // namespace pelorin
