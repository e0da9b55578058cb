#include "linux/RestoreToken.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <ctime>
#include <string>

namespace pelorin::lnx {
namespace {

constexpr std::time_t kLifetimeSeconds = 60;
// File times come from a coarser clock than time(): a fresh token may look a moment
// younger than now.
constexpr std::time_t kClockSlackSeconds = 1;

bool ReadRandom(unsigned char* bytes, std::size_t count) {
  const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd, bytes + done, count - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return done == count;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool WriteRestoreToken(const InstancePaths& paths) {
  std::array<unsigned char, 32> random{};
  if (!ReadRandom(random.data(), random.size())) return false;
  std::string text;
  for (const unsigned char byte : random) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", byte);
    text += hex;
  }
  text += '\n';

  const std::string target = paths.RestoreToken().string();
  const std::string temporary = target + "." + std::to_string(::getpid()) + ".tmp";
  ::unlink(temporary.c_str());
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = ::fchmod(fd, 0600) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool ConsumeRestoreToken(const InstancePaths& paths) {
  const std::string token = paths.RestoreToken().string();
  struct stat info {};
  if (::lstat(token.c_str(), &info) != 0) return false;
  if (S_ISDIR(info.st_mode))
    ::rmdir(token.c_str());
  else
    ::unlink(token.c_str());
  const std::time_t age = std::time(nullptr) - info.st_mtime;
  return S_ISREG(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 07777) == 0600 &&
         age >= -kClockSlackSeconds && age <= kLifetimeSeconds;
}

}  // namespace pelorin::lnx
