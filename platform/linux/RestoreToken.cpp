#include "linux/RestoreToken.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

namespace pelorin::lnx {
namespace {

constexpr std::time_t kLifetimeSeconds = 60;
// File times come from a coarser clock than time(): a fresh token may look a moment
// younger than now.
constexpr std::time_t kClockSlackSeconds = 1;
constexpr std::size_t kSecretBytes = 32;
// More than a secret and its line end: whatever is longer is no secret.
constexpr std::size_t kMaxReadBytes = 2 * kSecretBytes + 16;

bool ReadRandom(unsigned char* bytes, std::size_t count) {
  const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
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
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Up to kMaxReadBytes from fd, without its line end.
std::string ReadShortText(int fd) {
  std::string text(kMaxReadBytes + 1, '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  text.resize(done);
  if (text.size() > kMaxReadBytes) return {};
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// Compares without stopping at the first difference, so that the time taken tells
// nothing about the secret.
bool SameSecret(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}

}  // namespace

std::optional<std::string> WriteRestoreToken(const InstancePaths& paths) {
  std::array<unsigned char, kSecretBytes> random{};
  if (!ReadRandom(random.data(), random.size())) return std::nullopt;
  std::string secret;
  for (const unsigned char byte : random) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", byte);
    secret += hex;
  }

  const std::string target = paths.RestoreToken().string();
  const std::string temporary = target + "." + std::to_string(::getpid()) + ".tmp";
  ::unlink(temporary.c_str());
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return std::nullopt;
  const bool written = ::fchmod(fd, 0600) == 0 && WriteAll(fd, secret + "\n") && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return std::nullopt;
  }
  return secret;
}

std::string ReadHandedOverSecret(int fd) {
  if (fd < 0) return {};
  struct stat info {};
  std::string secret;
  // Only a pipe: a terminal or a file given by mistake is neither read nor changed.
  if (::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode)) {
    // The watchdog writes the secret and closes its end before the suite starts; never
    // wait for a writer that keeps its end open.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0) secret = ReadShortText(fd);
  }
  ::close(fd);
  return secret;
}

bool ConsumeRestoreToken(const InstancePaths& paths, const std::string& secret) {
  const std::string token = paths.RestoreToken().string();
  struct stat link {};
  if (::lstat(token.c_str(), &link) != 0) return false;
  std::string content;
  struct stat info {};
  bool regular = false;
  if (S_ISREG(link.st_mode)) {
    const int fd = ::open(token.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
      regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
      if (regular) content = ReadShortText(fd);
      ::close(fd);
    }
  }
  if (S_ISDIR(link.st_mode))
    ::rmdir(token.c_str());
  else
    ::unlink(token.c_str());
  const std::time_t age = std::time(nullptr) - info.st_mtime;
  return regular && info.st_uid == ::getuid() && (info.st_mode & 07777) == 0600 &&
         age >= -kClockSlackSeconds && age <= kLifetimeSeconds &&
         secret.size() == 2 * kSecretBytes && SameSecret(content, secret);
}

}  // namespace pelorin::lnx
