#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace pelorin {

// "Unable to write to <file>", followed by ": <the system's reason>" when there is one.
std::string WriteFailureText(const std::filesystem::path& file, std::error_code cause);
// "Unable to read <file>", followed by ": <the system's reason>" when there is one.
std::string ReadFailureText(const std::filesystem::path& file, std::error_code cause);

// A file that the system refused to read or to write, and why. Such a file is not
// damaged: it is reported with its reason, never offered a restore.
struct FileError {
  enum class Operation { Read, Write };

  Operation operation = Operation::Read;
  std::filesystem::path file;
  std::error_code cause;

  std::string Message() const {
    return operation == Operation::Read ? ReadFailureText(file, cause)
                                        : WriteFailureText(file, cause);
  }
};

}  // namespace pelorin
