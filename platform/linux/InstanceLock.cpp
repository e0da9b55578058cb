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

int OpenLockFile(const fs::path& file) {
  return ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
}

}  // namespace

InstanceLock::InstanceLock(InstancePaths paths) : paths_(std::move(paths)) {
  const fs::path file = paths_.LockFile();
  int fd = OpenLockFile(file);
  if (fd < 0 && errno == ENOENT) {
    error_ = CreateHome(paths_.home);
    if (!error_.empty()) return;
    fd = OpenLockFile(file);
  }
  if (fd < 0) {
    error_ = "cannot open the lock file " + Quoted(file) + ": " + std::strerror(errno);
    return;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid()) {
    error_ = "the lock file " + Quoted(file) + " is not a file of this user";
    ::close(fd);
    return;
  }
  Take(fd);
}

void InstanceLock::Take(int fd) {
  for (int attempt = 1;; ++attempt) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      state_ = State::Held;
      ::fchmod(fd_, 0600);
      ClearRecord();
      return;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) break;
    if (attempt == kAttempts) {
      ::close(fd);  // another suite holds it: leave its file as it is
      state_ = State::TakenByAnother;
      return;
    }
    std::this_thread::sleep_for(kPause);
  }
  error_ = "cannot lock " + Quoted(paths_.LockFile()) + ": " + std::strerror(errno);
  ::close(fd);
}

InstanceLock::~InstanceLock() {
  if (fd_ < 0) return;
  ClearRecord();
  ::close(fd_);  // closing releases the lock
}

std::string InstanceLock::WriteRecord(const ChannelRecord& record) {
  if (fd_ < 0) return "the lock is not held";
  const std::string text = FormatChannelRecord(record);
  // Written in place: renaming a new file over it would replace the locked file. A
  // reader that comes in between sees a part of a record, which it does not take.
  ClearRecord();
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n =
        ::pwrite(fd_, text.data() + done, text.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return "cannot write " + Quoted(paths_.LockFile()) + ": " + std::strerror(errno);
    done += static_cast<std::size_t>(n);
  }
  return {};
}

bool InstanceLock::TakenNow(const InstancePaths& paths) {
  const int fd = ::open(paths.LockFile().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  const bool taken = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);  // gives a shared lock back at once
  return taken;
}

void InstanceLock::ClearRecord() {
  if (fd_ >= 0) {
    [[maybe_unused]] const int cleared = ::ftruncate(fd_, 0);
  }
}

}  // namespace pelorin::lnx
