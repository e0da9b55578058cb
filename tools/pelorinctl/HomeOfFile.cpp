#include "HomeOfFile.h"

#include "storage/SuiteLayout.h"

namespace fs = std::filesystem;

namespace pelorin::ctl {
namespace {

bool IsHome(const fs::path& dir) {
  std::error_code ec;
  return fs::is_regular_file(SuiteLayout(dir).SystemSettingsFile(), ec);
}

}  // namespace

std::optional<PlaceInHome> FindPlaceInHome(const fs::path& file) {
  std::error_code ec;
  const fs::path full = fs::weakly_canonical(fs::absolute(file, ec), ec);
  if (ec) return std::nullopt;
  const fs::path dir = full.parent_path();
  // Names are taken as they are spelled: on this file system "Pelorin.HF" is another file.
  if (full.filename() == SuiteLayout(dir).SystemSettingsFile().filename() && IsHome(dir)) {
    return PlaceInHome{dir, ""};
  }
  const fs::path profiles = dir.parent_path();
  const fs::path home = profiles.parent_path();
  if (profiles.filename() == SuiteLayout(home).ProfilesDir().filename() && IsHome(home)) {
    return PlaceInHome{home, dir.filename().string()};
  }
  return std::nullopt;
}

std::optional<ProfileFileName> ProfileFileNameOf(const fs::path& file) {
  const std::string name = file.filename().string();
  for (const bool scrambled : {false, true}) {
    const std::string_view extension =
        scrambled ? SuiteLayout::kScrambledExtension : SuiteLayout::kPlainExtension;
    if (name.size() >= extension.size() &&
        std::string_view(name).substr(name.size() - extension.size()) == extension) {
      return ProfileFileName{name.substr(0, name.size() - extension.size()), scrambled};
    }
  }
  return std::nullopt;
}

}  // namespace pelorin::ctl
