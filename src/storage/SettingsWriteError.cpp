#include "storage/SettingsWriteError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/AtomicFile.h"
#include "common/FileError.h"

namespace pelorin {
namespace {

// Why a write that never reached the disk was refused: the last refused write of the
// file, or what stands in its place.
std::error_code CauseOfRefusal(const std::filesystem::path& file) {
  if (const std::error_code cause = LastRefusedWriteCause(file)) return cause;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return errno == ENOENT ? std::error_code() : std::error_code(errno, std::generic_category());
  }
  struct stat info {};
  const bool directory = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
  ::close(fd);
  return directory ? std::make_error_code(std::errc::is_a_directory) : std::error_code();
}

}  // namespace

SettingsWriteError::SettingsWriteError(const std::filesystem::path& file)
    : SettingsWriteError(file, CauseOfRefusal(file)) {}

SettingsWriteError::SettingsWriteError(const std::filesystem::path& file, std::error_code cause)
    : std::runtime_error(WriteFailureText(file, cause)), file_(file), cause_(cause) {}

}  // namespace pelorin
