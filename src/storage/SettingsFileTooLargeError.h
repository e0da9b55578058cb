#pragma once

#include <filesystem>
#include <string>

#include "storage/SettingsFile.h"

namespace pelorin {

// Raised for a write to a settings file that is too large to be read (more than 64 MB):
// "Unable to write to <file>: the file is larger than 64 MB and is not read".
class SettingsFileTooLargeError : public SettingsWriteError {
 public:
  explicit SettingsFileTooLargeError(const std::filesystem::path& file);
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace pelorin
