#include "storage/SuiteHome.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "common/FileError.h"
#include "common/Files.h"
#include "storage/InterruptedSaves.h"
#include "storage/Scrambler.h"
#include "storage/SettingsFile.h"
#include "storage/SuiteLayout.h"

namespace fs = std::filesystem;

namespace pelorin {
namespace {

std::optional<std::string> RealEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::optional<std::string> NonEmpty(const HomeSources& sources, const char* name) {
  auto value = sources.environment ? sources.environment(name) : RealEnvironment(name);
  if (value && value->empty()) return std::nullopt;
  return value;
}

fs::path Absolute(const fs::path& p) {
  std::error_code ec;
  fs::path result = fs::weakly_canonical(fs::absolute(p, ec), ec);
  if (ec) result = fs::absolute(p, ec).lexically_normal();
  return result;
}

fs::path UserHomeDirectory(const HomeSources& sources) {
  if (auto home = NonEmpty(sources, "HOME")) return *home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return pw->pw_dir;
  }
  return "/tmp";
}

// Copies every file of `from` into `to`, keeping files that exist there already. The
// folders made are the owner's only, like every folder of the home.
bool CopyMissingFiles(const fs::path& from, const fs::path& to, std::string* error) {
  std::error_code ec;
  if (!fs::is_directory(from, ec)) return true;  // nothing delivered: nothing to copy
  for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    const fs::path target = to / fs::relative(it->path(), from, ec);
    if (it->is_directory(ec)) {
      CreatePrivateDirectories(target, ec);
    } else if (it->is_regular_file(ec) && !fs::exists(target, ec)) {
      if (CreatePrivateDirectories(target.parent_path(), ec)) fs::copy_file(it->path(), target, ec);
    }
    if (ec) break;
  }
  if (ec && error != nullptr) *error = "Cannot copy the delivered files: " + ec.message();
  return !ec;
}

}  // namespace

fs::path ResolveHome(const HomeSources& sources) {
  if (sources.commandLineHome && !sources.commandLineHome->empty()) {
    return Absolute(*sources.commandLineHome);
  }
  if (auto home = NonEmpty(sources, "PELORIN_HOME")) return Absolute(*home);
  std::error_code ec;
  if (!sources.executableDir.empty() &&
      fs::is_regular_file(SuiteLayout(sources.executableDir).SystemSettingsFile(), ec)) {
    return Absolute(sources.executableDir);
  }
  // XDG: a relative XDG_DATA_HOME is invalid and ignored.
  if (auto data = NonEmpty(sources, "XDG_DATA_HOME"); data && fs::path(*data).is_absolute()) {
    return Absolute(fs::path(*data) / "pelorin");
  }
  return Absolute(UserHomeDirectory(sources) / ".local" / "share" / "pelorin");
}

fs::path DeliveredDataDir(const fs::path& executableDir) {
  return (executableDir / ".." / "share" / "pelorin").lexically_normal();
}

SeedResult SeedHome(const fs::path& home, const fs::path& deliveredDir, ports::Log& log,
                    std::string* error) {
  const SuiteLayout layout(home);
  std::error_code ec;
  if (fs::exists(layout.SystemSettingsFile(), ec) || fs::exists(layout.ProfilesDir(), ec)) {
    RemoveInterruptedSaves(layout, log);
    return SeedResult::Existing;
  }
  if (!CreatePrivateDirectories(home, ec)) {
    if (error != nullptr)
      *error = "Cannot create the folder " + home.string() + ": " + ec.message();
    return SeedResult::Failed;
  }
  if (!CopyMissingFiles(deliveredDir / "System", home / "System", error)) {
    return SeedResult::Failed;
  }
  const fs::path copy = layout.SystemSettingsCopy();
  FileError refusal{FileError::Operation::Write, layout.SystemSettingsFile(), {}};
  bool written = false;
  try {
    SuiteLayout::WriteMarker(copy);
    written =
        ScrambleFile(copy, layout.SystemSettingsFile(), SuiteLayout::kScrambledFileKey, &refusal);
  } catch (const SettingsWriteError& e) {
    refusal = {FileError::Operation::Write, e.file(), e.cause()};
  }
  fs::remove(copy, ec);
  if (!written) {
    if (error != nullptr) *error = refusal.Message();
    return SeedResult::Failed;
  }
  return SeedResult::Seeded;
}

}  // namespace pelorin
