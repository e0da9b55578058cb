#include "SuiteLockProbe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace pelorin::cstdr {

SuiteLockProbe::SuiteLockProbe(std::filesystem::path lockFile) : lockFile_(std::move(lockFile)) {}

bool SuiteLockProbe::SuiteRunning() const {
  // Never created: the file belongs to the suite. Opened for writing as the suite opens
  // it, which file systems that lock on the server (NFS) need for an exclusive lock.
  const int fd = ::open(lockFile_.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);  // gives the lock back when the probe got it
  return held;
}

}  // namespace pelorin::cstdr
