#include "linux/InstancePaths.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fs = std::filesystem;

namespace pelorin::lnx {
namespace {

// FNV-1a: stable across builds and machines, unlike std::hash.
std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t h = 1469598103934665603ULL;
  for (const unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ULL;
  }
  return h;
}

}  // namespace

InstancePaths InstancePathsFor(const fs::path& home) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(fs::absolute(home, ec), ec);
  if (ec) canonical = home;
  InstancePaths paths;
  paths.home = canonical;
  paths.runtime = ChooseRuntimeFolder(std::getenv("XDG_RUNTIME_DIR"));
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx",
                static_cast<unsigned long long>(Fnv1a(canonical.string())));
  paths.baseName = std::string("pelorin-") + hex;
  return paths;
}

}  // namespace pelorin::lnx
