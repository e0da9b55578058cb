#include "common/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <set>
#include <tuple>
#include <utility>

#include "common/AtomicFile.h"
#include "common/FileMask.h"
#include "common/Text.h"

namespace pelorin {
namespace fs = std::filesystem;

namespace {

// Files are read in pieces of this size.
constexpr std::size_t kPieceSize = 4096;

bool IsHiddenName(std::string_view name) {
  return !name.empty() && name.front() == '.';
}

struct DirectoryEntry {
  std::string name;
  std::string sortKey;       // the case-folded name
  bool isFile = false;       // a regular file, or a link to one
  bool isDirectory = false;  // a directory, or a link to one
  bool isLink = false;
};

// The entries of a directory, sorted by name. A directory that cannot be read, or
// stops being readable half-way, gives what was read up to then.
std::vector<DirectoryEntry> ReadDirectory(const fs::path& directory) {
  std::vector<DirectoryEntry> entries;
  std::error_code error;
  fs::directory_iterator it(directory, error);
  for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
    DirectoryEntry entry;
    entry.name = it->path().filename().string();
    entry.sortKey = UpCaseText(entry.name);
    std::error_code statusError;
    const fs::file_status status = it->status(statusError);  // follows links
    entry.isFile = fs::is_regular_file(status);
    entry.isDirectory = fs::is_directory(status);
    entry.isLink = it->is_symlink(statusError);
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
    return std::tie(a.sortKey, a.name) < std::tie(b.sortKey, b.name);
  });
  return entries;
}

bool EntryMatches(const DirectoryEntry& entry, std::string_view mask, bool includeHidden,
                  bool includeDirectories) {
  if (IsHiddenName(entry.name) && !includeHidden) return false;
  if (!entry.isFile && !(includeDirectories && entry.isDirectory)) return false;
  return MatchesFileMask(entry.name, mask);
}

// The path without trailing separators; the root directory stays "/".
std::string WithoutTrailingSeparator(const fs::path& path) {
  std::string text = path.string();
  while (text.size() > 1 && text.back() == '/')
    text.pop_back();
  return text;
}

std::string JoinPath(const std::string& directory, std::string_view name) {
  std::string full = directory;
  if (full.empty() || full.back() != '/') full.push_back('/');
  full.append(name);
  return full;
}

// Names of the entries matching a "directory/mask" path, in listing order.
bool ListMatching(const fs::path& maskPath, bool includeHidden, bool includeDirectories,
                  std::vector<std::string>& names) {
  names.clear();
  const std::string text = maskPath.string();
  const auto slash = text.rfind('/');
  const std::string directory =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : text.substr(0, slash));
  const std::string_view mask = slash == std::string::npos
                                    ? std::string_view(text)
                                    : std::string_view(text).substr(slash + 1);
  for (const DirectoryEntry& entry : ReadDirectory(directory)) {
    if (EntryMatches(entry, mask, includeHidden, includeDirectories)) names.push_back(entry.name);
  }
  return !names.empty();
}

}  // namespace

bool PathExists(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::exists(path, error);
}

std::string FileDirectory(std::string_view fullName) {
  const auto slash = fullName.rfind('/');
  return slash == std::string_view::npos ? std::string()
                                         : std::string(fullName.substr(0, slash + 1));
}

std::string FileExtension(std::string_view fileName) {
  const auto slash = fileName.rfind('/');
  const std::string_view name =
      slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

bool SplitCommandLine(std::string_view commandLine, std::string& program, std::string& parameters) {
  program.clear();
  parameters.clear();
  if (commandLine.empty()) return false;
  if (commandLine.front() == '"') {
    const auto closing = commandLine.find('"', 1);
    if (closing == std::string_view::npos) {  // no closing quote: the rest is the program
      program = commandLine.substr(1);
      return true;
    }
    program = commandLine.substr(1, closing - 1);
    std::string_view rest = commandLine.substr(closing + 1);
    if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    parameters = rest;
    return true;
  }
  const auto blank = commandLine.find(' ');
  program = commandLine.substr(0, blank);
  if (blank != std::string_view::npos) parameters = commandLine.substr(blank + 1);
  return true;
}

bool ListFiles(const fs::path& mask, bool includeHidden, std::vector<std::string>& names) {
  return ListMatching(mask, includeHidden, false, names);
}

bool ListEntries(const fs::path& mask, bool includeHidden, std::vector<std::string>& names) {
  return ListMatching(mask, includeHidden, true, names);
}

bool ListSubdirectories(const fs::path& directory, bool includeHidden,
                        std::vector<std::string>& names) {
  names.clear();
  for (const DirectoryEntry& entry : ReadDirectory(directory)) {
    if (entry.isDirectory && (includeHidden || !IsHiddenName(entry.name))) {
      names.push_back(entry.name);
    }
  }
  return !names.empty();
}

bool FindFilesDeep(const fs::path& root, std::string_view mask, bool includeHidden,
                   bool includeDirectories, std::vector<std::string>& names) {
  names.clear();
  const std::string top = WithoutTrailingSeparator(root);
  if (top.empty()) return false;

  // Directories still to walk, the next one last. Each directory is walked once even
  // when a bind mount shows it again below itself.
  std::vector<std::string> pending{top};
  std::set<std::pair<dev_t, ino_t>> walked;
  while (!pending.empty()) {
    const std::string directory = std::move(pending.back());
    pending.pop_back();
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0 || !walked.emplace(info.st_dev, info.st_ino).second) {
      continue;
    }
    std::vector<std::string> subdirectories;
    for (const DirectoryEntry& entry : ReadDirectory(directory)) {
      std::string full = JoinPath(directory, entry.name);
      if (entry.isDirectory && !entry.isLink && !IsHiddenName(entry.name)) {
        subdirectories.push_back(full);
      }
      if (EntryMatches(entry, mask, includeHidden, includeDirectories)) {
        names.push_back(std::move(full));
      }
    }
    pending.insert(pending.end(), std::make_move_iterator(subdirectories.rbegin()),
                   std::make_move_iterator(subdirectories.rend()));
  }
  return !names.empty();
}

bool DeleteFiles(const fs::path& directory, std::string_view mask) {
  bool matched = false;
  for (const DirectoryEntry& entry : ReadDirectory(directory)) {
    if (!EntryMatches(entry, mask, false, false)) continue;
    matched = true;
    std::error_code error;
    fs::remove(directory / entry.name, error);
  }
  return matched;
}

bool DeleteDirectory(const fs::path& directory) {
  const std::string path = WithoutTrailingSeparator(directory);
  std::error_code error;
  // A link to a directory is not emptied: that would delete files somewhere else.
  if (path.empty() || !fs::is_directory(fs::symlink_status(path, error))) return false;
  DeleteFiles(path, "*.*");
  return ::rmdir(path.c_str()) == 0;
}

bool CreatePrivateDirectories(const fs::path& directory, std::error_code& cause) {
  cause.clear();
  if (directory.empty()) {
    cause = std::make_error_code(std::errc::no_such_file_or_directory);
    return false;
  }
  // The missing directories, the deepest first.
  std::vector<fs::path> missing;
  for (fs::path at = directory.lexically_normal(); !at.empty(); at = at.parent_path()) {
    struct stat info {};
    if (::stat(at.c_str(), &info) == 0) {
      if (S_ISDIR(info.st_mode)) break;
      cause = std::make_error_code(std::errc::not_a_directory);
      return false;
    }
    if (errno != ENOENT) {
      cause = {errno, std::generic_category()};
      return false;
    }
    missing.push_back(at);
    if (at == at.parent_path()) break;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (::mkdir(it->c_str(), 0700) == 0) {
      ::chmod(it->c_str(), 0700);  // exactly 0700, whatever the umask took away
    } else if (errno != EEXIST || !fs::is_directory(*it, cause)) {
      if (!cause) cause = {errno, std::generic_category()};
      return false;
    }
  }
  return true;
}

std::uint32_t FileSizeOf(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(info.st_size));
}

long long ReadFileBlock(const fs::path& file, std::string& buffer, std::size_t count,
                        std::size_t offset) {
  buffer.clear();
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (offset >= size) {
    ::close(fd);
    return 0;
  }
  const std::size_t wanted = count == 0 ? std::numeric_limits<std::size_t>::max() : count;
  buffer.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(wanted, size - offset)));
  char piece[kPieceSize];
  auto position = static_cast<off_t>(offset);
  while (buffer.size() < wanted) {
    const std::size_t length = std::min(kPieceSize, wanted - buffer.size());
    const ssize_t n = ::pread(fd, piece, length, position);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      buffer.clear();
      return -1;
    }
    if (n == 0) break;
    buffer.append(piece, static_cast<std::size_t>(n));
    position += n;
  }
  ::close(fd);
  return static_cast<long long>(buffer.size());
}

long long WriteFileBlock(const fs::path& file, std::string_view bytes) {
  if (!WriteFileAtomically(file, bytes)) return -1;
  return static_cast<long long>(bytes.size());
}

}  // namespace pelorin
