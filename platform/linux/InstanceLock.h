#pragma once

#include "linux/InstancePaths.h"

namespace pelorin::lnx {

// The single running suite of a home: an exclusive flock() on the home's lock file
// (mode 600), which holds the owner's process id. The lock lasts as long as the
// object (the process); a crash releases it with the process. Trying and failing
// changes nothing: the lock file of the running suite keeps its content.
class InstanceLock {
 public:
  // Tries to take the lock; Held() tells whether it succeeded.
  explicit InstanceLock(InstancePaths paths);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  const InstancePaths& Paths() const { return paths_; }

 private:
  InstancePaths paths_;
  int fd_ = -1;
};

}  // namespace pelorin::lnx
