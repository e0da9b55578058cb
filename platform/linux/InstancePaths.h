#pragma once

#include <filesystem>
#include <string>

#include "linux/RuntimeFolder.h"

namespace pelorin::lnx {

// Where a running suite, its companion and a second start of the suite meet. The
// single-instance lock is a file in the home (InstanceLock), so that every start on a
// home finds the running suite whatever its environment, and it holds the record of
// where the running suite's command channel is. The other runtime files live in the
// runtime folder of the suite that runs (RuntimeFolder.h), named from a hash of the
// canonical home.
struct InstancePaths {
  std::filesystem::path home;  // canonical
  RuntimeFolder runtime;
  std::string baseName;  // "pelorin-<16 hex digits>"

  // flock()ed by the running suite (mode 600); holds the record of its command channel
  // (ChannelRecord.h), empty while no suite runs.
  std::filesystem::path LockFile() const { return home / ".pelorin-instance"; }
  // The suite's command channel (local socket).
  std::filesystem::path SuiteSocket() const { return runtime.path / (baseName + ".sock"); }
  // The companion's channel: its "window".
  std::filesystem::path CompanionSocket() const {
    return runtime.path / (baseName + "-cstdr.sock");
  }
  // flock()ed by the companion that watches this home.
  std::filesystem::path CompanionLock() const { return runtime.path / (baseName + "-cstdr.lock"); }
  // The one-time token with which the companion allows a restart in restoring mode.
  std::filesystem::path RestoreToken() const { return runtime.path / (baseName + ".restore"); }
};

// The paths for a home (made canonical here), with the runtime folder the environment
// names. Creates and checks nothing: the suite that takes the lock secures the runtime
// folder (SecureRuntimeFolder) before it puts anything there.
InstancePaths InstancePathsFor(const std::filesystem::path& home);

}  // namespace pelorin::lnx
