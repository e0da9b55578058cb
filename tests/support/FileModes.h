#pragma once

#include <sys/stat.h>

#include <filesystem>

namespace pelorin::testing {

// The permission bits of a file or folder (a link's own with `ofLink`); 0 when it is not
// there.
inline mode_t ModeOf(const std::filesystem::path& path, bool ofLink = false) {
  struct stat info {};
  const int result = ofLink ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info);
  return result == 0 ? info.st_mode & 07777 : 0;
}

// Sets the umask for one test and puts the old one back.
class Umask {
 public:
  explicit Umask(mode_t mask) : old_(::umask(mask)) {}
  ~Umask() { ::umask(old_); }
  Umask(const Umask&) = delete;
  Umask& operator=(const Umask&) = delete;

 private:
  mode_t old_;
};

}  // namespace pelorin::testing
