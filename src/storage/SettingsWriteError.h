#pragma once

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace pelorin {

// Raised when the system refuses a write. what() is "Unable to write to <file>",
// followed by ": <the system's reason>" when the reason is known ("Unable to write to
// /home/u/status.hif: Read-only file system").
class SettingsWriteError : public std::runtime_error {
 public:
  // Without a cause, the cause is that of this thread's last refused atomic write of
  // the file or, when there was none, why the file cannot be opened for reading (a
  // folder in its place, permission denied).
  explicit SettingsWriteError(const std::filesystem::path& file);
  SettingsWriteError(const std::filesystem::path& file, std::error_code cause);

  const std::filesystem::path& file() const { return file_; }
  std::error_code cause() const { return cause_; }

 private:
  std::filesystem::path file_;
  std::error_code cause_;
};

}  // namespace pelorin
