#pragma once

#include <filesystem>

namespace pelorin::cstdr {

// Whether the suite of a home runs: the running suite holds an exclusive flock() on its
// lock file in the home for as long as its process lives (InstanceLock). The probe tries
// to take that lock without waiting and gives it back at once; when it gets it, the
// suite's process has ended.
class SuiteLockProbe {
 public:
  explicit SuiteLockProbe(std::filesystem::path lockFile);

  bool SuiteRunning() const;

 private:
  std::filesystem::path lockFile_;
};

}  // namespace pelorin::cstdr
