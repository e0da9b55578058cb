#include "linux/RuntimeFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace fs = std::filesystem;

namespace pelorin::lnx {
namespace {

std::string Octal(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

std::string Quoted(const fs::path& path) {
  return "\"" + path.string() + "\"";
}

constexpr char kRisk[] = " (another user could take the suite's place there)";

// The reason why a folder with these facts cannot be trusted, or empty.
std::string Distrust(const fs::path& path, const struct stat& info, bool exactMode) {
  if (!S_ISDIR(info.st_mode)) return "the runtime folder " + Quoted(path) + " is not a folder";
  if (info.st_uid != ::getuid()) {
    return "the runtime folder " + Quoted(path) + " belongs to another user (uid " +
           std::to_string(info.st_uid) + ")" + kRisk;
  }
  const bool open = exactMode ? (info.st_mode & 07777) != 0700 : (info.st_mode & 022) != 0;
  if (open) {
    return "the runtime folder " + Quoted(path) + " has mode " + Octal(info.st_mode) +
           (exactMode ? " instead of 0700" : ": others can write in it") + kRisk;
  }
  return {};
}

std::string SecureSessionFolder(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return "the runtime folder " + Quoted(path) +
           " (XDG_RUNTIME_DIR) cannot be used: " + std::strerror(errno);
  }
  return Distrust(path, info, false);
}

std::string SecureFallbackFolder(const fs::path& path) {
  const bool created = ::mkdir(path.c_str(), 0700) == 0;
  if (!created && errno != EEXIST) {
    return "cannot create the runtime folder " + Quoted(path) + ": " + std::strerror(errno);
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    const int failure = errno;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
      return "the runtime folder " + Quoted(path) + " is a link, not a folder" + kRisk;
    }
    return "cannot open the runtime folder " + Quoted(path) + ": " + std::strerror(failure);
  }
  // A folder made just now may have lost bits to an unusual umask; one found is left as
  // it is.
  if (created) ::fchmod(fd, 0700);
  struct stat info {};
  const bool known = ::fstat(fd, &info) == 0;
  const int failure = errno;
  ::close(fd);
  if (!known)
    return "cannot examine the runtime folder " + Quoted(path) + ": " + std::strerror(failure);
  return Distrust(path, info, true);
}

}  // namespace

RuntimeFolder ChooseRuntimeFolder(const char* xdgRuntimeDir, const fs::path& fallbackParent) {
  if (xdgRuntimeDir != nullptr && *xdgRuntimeDir != '\0' && fs::path(xdgRuntimeDir).is_absolute()) {
    return {xdgRuntimeDir, false};
  }
  return {fallbackParent / ("pelorin-" + std::to_string(::getuid())), true};
}

std::string SecureRuntimeFolder(const RuntimeFolder& folder) {
  return folder.fallback ? SecureFallbackFolder(folder.path) : SecureSessionFolder(folder.path);
}

}  // namespace pelorin::lnx
