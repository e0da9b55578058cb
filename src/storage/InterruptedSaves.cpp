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

constexpr const char* kLogSource = "backup";

int RemoveIfPresent(const fs::path& file, ports::Log& log) {
  std::error_code cause;
  if (fs::remove(file, cause)) {
    log.Write(kLogSource, "removed " + file.string() + ", left by a save cut short");
    return 1;
  }
  if (cause) log.Write(kLogSource, "cannot remove " + file.string() + ": " + cause.message());
  return 0;
}

int RemoveWritesIn(const fs::path& directory, ports::Log& log) {
  const int removed = RemoveInterruptedWrites(directory);
  if (removed > 0) {
    log.Write(kLogSource, "removed " + std::to_string(removed) +
                              " temporary files of writes cut short from " + directory.string());
  }
  return removed;
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

int RemoveInterruptedSaves(const SuiteLayout& layout, ports::Log& log) {
  int removed = RemoveWritesIn(layout.ProgramDir(), log);
  removed += RemoveIfPresent(layout.SystemSettingsCopy(), log);
  removed += RemoveIfPresent(layout.StartupSettingsCopy(), log);

  for (const fs::path& profile : Subdirectories(layout.ProfilesDir())) {
    removed += RemoveWritesIn(profile, log);
    removed += RemoveWritesIn(profile / "Data", log);
    for (const std::string_view name : ScrambledFiles::kProfileFileNames) {
      removed += RemoveIfPresent(SuiteLayout::PlainTwin(profile, name), log);
    }
  }
  removed += RemoveWritesIn(layout.BackupDir(), log);
  for (const fs::path& backups : Subdirectories(layout.BackupDir())) {
    removed += RemoveWritesIn(backups, log);
  }
  return removed;
}

}  // namespace pelorin
