#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

// File and directory operations of the suite. Paths are UTF-8; the separator is "/".
// Windows file masks ("*.*", "*.wav") match without regard to case, and "*.*"
// matches every name. "Hidden" means a name starting with ".".

bool PathExists(const std::filesystem::path& path);

// The text up to and including the last "/".
std::string FileDirectory(std::string_view fullName);
// The text after the last ".", without the dot; empty without a dot.
std::string FileExtension(std::string_view fileName);

// Program and parameters of a command line; false for an empty line.
bool SplitCommandLine(std::string_view commandLine, std::string& program,
                      std::string& parameters);

// `mask` holds the directory and the file mask ("/dir/*.wav"). The lists are
// cleared and get bare names. True when the list is not empty.
bool ListFiles(const std::filesystem::path& mask, bool includeHidden,
               std::vector<std::string>& names);
bool ListEntries(const std::filesystem::path& mask, bool includeHidden,
                 std::vector<std::string>& names);
bool ListSubdirectories(const std::filesystem::path& directory, bool includeHidden,
                        std::vector<std::string>& names);
// Full names of every match in `root` and below, directories in pre-order.
bool FindFilesDeep(const std::filesystem::path& root, std::string_view mask,
                   bool includeHidden, bool includeDirectories,
                   std::vector<std::string>& names);

bool DeleteFiles(const std::filesystem::path& directory, std::string_view mask);
bool DeleteDirectory(const std::filesystem::path& directory);

// Size in bytes (low 32 bits); 0 for a file that does not exist.
std::uint32_t FileSizeOf(const std::filesystem::path& file);

// Up to `count` bytes from byte `offset` into `buffer` (0 = to the end of the file);
// the number of bytes read, or -1 when the file does not exist or cannot be read.
long long ReadFileBlock(const std::filesystem::path& file, std::string& buffer,
                        std::size_t count = 0, std::size_t offset = 0);
// Replaces the file with `bytes` (atomically); the count written, or -1 on failure.
long long WriteFileBlock(const std::filesystem::path& file, std::string_view bytes);

}  // namespace pelorin
