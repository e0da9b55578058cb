#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pelorin::testing {

// A fresh directory under the system's temporary directory, removed with everything
// in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes bytes to a file, creating its parent directories.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

}  // namespace pelorin::testing
