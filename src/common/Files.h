#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace pelorin {

// File and directory operations of the suite. Paths are UTF-8; the separator is "/".
// Windows file masks ("*.*", "*.wav") match without regard to case, and "*.*"
// matches every name (`MatchesFileMask`). "Hidden" means a name starting with ".".
// Directory listings come sorted by name (case-folded, then byte order), so every
// list the suite shows or walks is the same from run to run; a directory that cannot
// be read lists as empty.

// True when a file or a directory of that name exists.
bool PathExists(const std::filesystem::path& path);

// The text up to and including the last "/"; empty without one.
std::string FileDirectory(std::string_view fullName);
// The text after the last "." of the name's last part, without the dot; empty when
// that part has no dot (a dot in a directory name is not an extension).
std::string FileExtension(std::string_view fileName);

// Program and parameters of a command line; false for an empty line. A line that
// starts with a double quote names the program between the quotes, and the
// parameters follow the blank after the closing quote; otherwise the first blank
// separates the two.
bool SplitCommandLine(std::string_view commandLine, std::string& program, std::string& parameters);

// `mask` holds the directory and the file mask ("/dir/*.wav"). The list is cleared
// and gets the bare names of the matching regular files (hidden ones only with the
// flag). True when the list is not empty.
bool ListFiles(const std::filesystem::path& mask, bool includeHidden,
               std::vector<std::string>& names);
// As `ListFiles`, directories included.
bool ListEntries(const std::filesystem::path& mask, bool includeHidden,
                 std::vector<std::string>& names);
// Clears the list and adds the names of the directory's subdirectories (hidden ones
// only with the flag); true when any was added.
bool ListSubdirectories(const std::filesystem::path& directory, bool includeHidden,
                        std::vector<std::string>& names);
// Clears the list and adds the full names of every entry matching `mask` in `root`
// and in every directory below it: regular files, hidden ones only with the hidden
// flag, directories only with the directories flag. Directories are walked in
// pre-order (a directory's whole subtree before its next sibling). Names starting
// with "." and symbolic links are not descended into, so a link loop ends the walk.
// True when anything was found.
bool FindFilesDeep(const std::filesystem::path& root, std::string_view mask, bool includeHidden,
                   bool includeDirectories, std::vector<std::string>& names);

// Deletes every regular file of the directory that matches the mask and is not
// hidden; true when at least one matched.
bool DeleteFiles(const std::filesystem::path& directory, std::string_view mask);
// Deletes the directory's files (as `DeleteFiles` with "*.*") and then the directory.
// False when it does not exist or is still not empty (hidden files, subdirectories).
bool DeleteDirectory(const std::filesystem::path& directory);

// Creates the directory and every missing directory above it for the owner only
// (0700); directories that exist already are left as they are. False when it cannot
// be made, with the system's reason in `cause`.
bool CreatePrivateDirectories(const std::filesystem::path& directory, std::error_code& cause);

// Size in bytes (low 32 bits); 0 for a file that does not exist or is not a file.
std::uint32_t FileSizeOf(const std::filesystem::path& file);

// Replaces `buffer` with up to `count` bytes read from byte `offset` on (0 = to the
// end of the file); returns the number of bytes read, or -1 when the file does not
// exist or cannot be read. An offset at or beyond the end reads nothing.
long long ReadFileBlock(const std::filesystem::path& file, std::string& buffer,
                        std::size_t count = 0, std::size_t offset = 0);
// Replaces the file with `bytes` (atomically); the count written, or -1 on failure.
long long WriteFileBlock(const std::filesystem::path& file, std::string_view bytes);

}  // namespace pelorin
