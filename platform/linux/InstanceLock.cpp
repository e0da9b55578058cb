#include "linux/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace pelorin::lnx {

InstanceLock::InstanceLock(InstancePaths paths) : paths_(std::move(paths)) {
  const int fd = ::open(paths_.LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);  // another suite holds it: leave its file as it is
    return;
  }
  fd_ = fd;
  ::fchmod(fd_, 0600);
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd_, 0) == 0) {
    [[maybe_unused]] const auto written = ::pwrite(fd_, pid.data(), pid.size(), 0);
  }
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace pelorin::lnx
