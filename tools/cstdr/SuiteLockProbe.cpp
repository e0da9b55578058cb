#include "SuiteLockProbe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace pelorin::cstdr {

SuiteLockProbe::SuiteLockProbe(std::filesystem::path home) : home_(std::move(home)) {}

bool SuiteLockProbe::SuiteRunning() const {
  const int fd = ::open(home_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);  // gives the lock back when the probe got it
  return held;
}

}  // namespace pelorin::cstdr
