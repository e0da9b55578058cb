#pragma once

#include <filesystem>
#include <string>

namespace pelorin::lnx {

// Where a running suite and its companion meet: files in the user's runtime directory
// ($XDG_RUNTIME_DIR, else /tmp/pelorin-UID, mode 700), named from a hash of the
// canonical home so that every home has its own instance.
struct InstancePaths {
  std::filesystem::path runtimeDir;
  std::string baseName;  // "pelorin-<16 hex digits>"

  // flock()ed by the running suite; holds its process id.
  std::filesystem::path LockFile() const { return runtimeDir / (baseName + ".lock"); }
  // The suite's command channel (local socket).
  std::filesystem::path SuiteSocket() const { return runtimeDir / (baseName + ".sock"); }
  // The companion's channel: its "window".
  std::filesystem::path CompanionSocket() const { return runtimeDir / (baseName + "-cstdr.sock"); }
  // The one-time token with which the companion allows a restart in restoring mode.
  std::filesystem::path RestoreToken() const { return runtimeDir / (baseName + ".restore"); }
};

// The paths for a home (made canonical here). Creates the runtime directory when it
// is missing; nothing else.
InstancePaths InstancePathsFor(const std::filesystem::path& home);

}  // namespace pelorin::lnx
