#include "HomeOfFile.h"

#include "common/Text.h"
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
  if (UpCaseText(full.filename().string()) == "PELORIN.HF" && IsHome(dir)) {
    return PlaceInHome{dir, ""};
  }
  const fs::path profiles = dir.parent_path();
  const fs::path home = profiles.parent_path();
  if (profiles.filename() == SuiteLayout(home).ProfilesDir().filename() && IsHome(home)) {
    return PlaceInHome{home, dir.filename().string()};
  }
  return std::nullopt;
}

}  // namespace pelorin::ctl
