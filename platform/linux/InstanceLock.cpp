#include "linux/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace fs = std::filesystem;

namespace pelorin::lnx {
namespace {

// The companion finds out whether the suite runs by taking its lock for an instant; a
// start that meets such a probe tries again a few times before it counts the home as
// taken.
constexpr int kAttempts = 6;
constexpr auto kPause = std::chrono::milliseconds(20);

std::string Quoted(const fs::path& path) {
  return "\"" + path.string() + "\"";
}

// Creates the missing folders up to and including `home`, the home itself for its owner
// only. Empty, or the reason.
std::string CreateHome(const fs::path& home) {
  std::error_code ec;
  if (home.has_parent_path()) fs::create_directories(home.parent_path(), ec);
  if (::mkdir(home.c_str(), 0700) != 0 && errno != EEXIST) {
    return "cannot create the home " + Quoted(home) + ": " + std::strerror(errno);
  }
  return {};
}

}  // namespace

InstanceLock::InstanceLock(InstancePaths paths) : paths_(std::move(paths)) {
  const fs::path& home = paths_.home;
  int fd = ::open(home.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) {
    error_ = CreateHome(home);
    if (!error_.empty()) return;
    fd = ::open(home.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }
  if (fd < 0) {
    error_ = "cannot open the home " + Quoted(home) + " to lock it: " + std::strerror(errno);
    return;
  }
  for (int attempt = 1;; ++attempt) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      state_ = State::Held;
      return;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) break;
    if (attempt == kAttempts) {
      ::close(fd);
      state_ = State::TakenByAnother;
      return;
    }
    std::this_thread::sleep_for(kPause);
  }
  error_ = "cannot lock the home " + Quoted(home) + ": " + std::strerror(errno);
  ::close(fd);
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace pelorin::lnx
