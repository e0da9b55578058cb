#include "linux/InstancePaths.h"

#include <sys/stat.h>
#include <unistd.h>

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

fs::path RuntimeDir() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  if (xdg != nullptr && *xdg != '\0' && fs::path(xdg).is_absolute()) return xdg;
  return fs::path("/tmp") / ("pelorin-" + std::to_string(::getuid()));
}

}  // namespace

InstancePaths InstancePathsFor(const fs::path& home) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(fs::absolute(home, ec), ec);
  if (ec) canonical = home;
  InstancePaths paths;
  paths.runtimeDir = RuntimeDir();
  if (!fs::exists(paths.runtimeDir, ec)) {
    fs::create_directories(paths.runtimeDir, ec);
    ::chmod(paths.runtimeDir.c_str(), 0700);
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx",
                static_cast<unsigned long long>(Fnv1a(canonical.string())));
  paths.baseName = std::string("pelorin-") + hex;
  return paths;
}

}  // namespace pelorin::lnx
