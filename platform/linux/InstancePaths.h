#pragma once

#include <filesystem>
#include <string>

#include "linux/RuntimeFolder.h"

namespace pelorin::lnx {

// Where a running suite, its companion and a second start of the suite meet. The home
// itself is the single-instance lock (InstanceLock), so that every start on a home finds
// the running suite whatever its environment; the runtime files live in the runtime
// folder of the suite that runs (RuntimeFolder.h), named from a hash of the canonical
// home, and the running suite records in the home where its command channel is.
struct InstancePaths {
  std::filesystem::path home;  // canonical
  RuntimeFolder runtime;
  std::string baseName;  // "pelorin-<16 hex digits>"

  // Written by the running suite: its process id and the path of its command channel.
  std::filesystem::path ChannelRecord() const { return home / ".pelorin-instance"; }
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
