#include "common/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

#include "common/ContentStamp.h"

namespace pelorin {
namespace fs = std::filesystem;

namespace {

// A temporary file is "." + the target's name + this + kRandomLength characters.
constexpr std::string_view kTemporaryMarker = ".pelorin-tmp-";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kRandomAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kCreateAttempts = 100;

struct RefusedWrite {
  fs::path file;
  std::error_code cause;
};
thread_local RefusedWrite lastRefusedWrite;

std::error_code LastError() {
  return {errno, std::generic_category()};
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string RandomLetters() {
  thread_local std::mt19937_64 random{std::random_device{}() ^
                                      static_cast<std::uint64_t>(::getpid())};
  std::uniform_int_distribution<std::size_t> pick(0, kRandomAlphabet.size() - 1);
  std::string letters(kRandomLength, ' ');
  for (char& c : letters)
    c = kRandomAlphabet[pick(random)];
  return letters;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A new temporary file for `name` in `dir`, locked for as long as it stays open so that
// a sweep of interrupted writes leaves it alone. -1 on failure, with errno set.
int CreateTemporary(const fs::path& dir, const std::string& name, mode_t mode, fs::path& path) {
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    path = dir / ("." + name + std::string(kTemporaryMarker) + RandomLetters());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    // A sweep may have caught the file between its creation and the lock; it is then
    // gone (or another file by now), and a new one is made.
    struct stat opened {};
    struct stat named {};
    if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
        ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named)) {
      return fd;
    }
    ::close(fd);
  }
  errno = EEXIST;
  return -1;
}

// Gives the new file the permission bits (and, for root, the owner) it must have.
bool SetAccess(int fd, FileAccess access, const struct stat* old) {
  if (access == FileAccess::OwnerOnly) {
    if (old != nullptr && ::geteuid() == 0 && ::fchown(fd, old->st_uid, old->st_gid) != 0) {
      return false;
    }
    return ::fchmod(fd, 0600) == 0;
  }
  if (old == nullptr) return true;  // created with 0666 less the umask
  if (::geteuid() == 0 && ::fchown(fd, old->st_uid, old->st_gid) != 0) return false;
  return ::fchmod(fd, old->st_mode & 07777) == 0;
}

bool ReplaceFile(const fs::path& file, std::string_view bytes, const AtomicWriteOptions& options,
                 std::error_code& cause) {
  const bool durable = options.durability == Durability::Durable;
  const fs::path dir = file.has_parent_path() ? file.parent_path() : ".";
  const std::string name = file.filename().string();
  if (!name.empty()) RemoveInterruptedWrites(dir, name);

  struct stat old {};
  const bool replacing = ::stat(file.c_str(), &old) == 0;
  const mode_t createMode = options.access == FileAccess::Shared && !replacing ? 0666 : 0600;
  fs::path temporary;
  const int fd = CreateTemporary(dir, name, createMode, temporary);
  if (fd < 0) {
    cause = LastError();
    return false;
  }
  bool ok = WriteAll(fd, bytes) && SetAccess(fd, options.access, replacing ? &old : nullptr);
  if (ok) {
    AttachContentStamp(fd, bytes);  // a file system without stamps keeps none
    // fsync, not fdatasync: the stamp is metadata and must reach the disk with the bytes.
    ok = (!durable || ::fsync(fd) == 0) && ::rename(temporary.c_str(), file.c_str()) == 0;
  }
  if (!ok) cause = LastError();
  // The lock is held until the rename is done, so the file is closed only now.
  if (::close(fd) != 0 && ok) {
    cause = LastError();
    ok = false;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  if (!durable) return true;
  // Flush the directory too, so that the rename itself survives a crash.
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

fs::path Normalised(const fs::path& file) {
  std::error_code ignored;
  const fs::path absolute = fs::absolute(file, ignored);
  const fs::path canonical = fs::weakly_canonical(absolute, ignored);
  return canonical.empty() ? absolute.lexically_normal() : canonical;
}

bool IsRandomPart(std::string_view text) {
  return text.size() == kRandomLength &&
         text.find_first_not_of(kRandomAlphabet) == std::string_view::npos;
}

}  // namespace

bool WriteFileAtomically(const fs::path& file, std::string_view bytes,
                         const AtomicWriteOptions& options, std::error_code& cause) {
  cause.clear();
  if (ReplaceFile(file, bytes, options, cause)) {
    lastRefusedWrite = {};
    return true;
  }
  lastRefusedWrite = {file, cause};
  return false;
}

bool WriteFileAtomically(const fs::path& file, std::string_view bytes, Durability durability) {
  std::error_code ignored;
  return WriteFileAtomically(file, bytes, {durability, FileAccess::Shared}, ignored);
}

std::error_code LastRefusedWriteCause(const fs::path& file) {
  if (!lastRefusedWrite.cause) return {};
  if (lastRefusedWrite.file != file && Normalised(lastRefusedWrite.file) != Normalised(file)) {
    return {};
  }
  return lastRefusedWrite.cause;
}

std::optional<std::string> ReadWholeFile(const fs::path& file, std::error_code& cause) {
  cause.clear();
  // Not blocking: a pipe in the place of a file must not stop the reader.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    cause = LastError();
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    cause = LastError();
    ::close(fd);
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    cause = S_ISDIR(st.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                : std::make_error_code(std::errc::not_supported);
    ::close(fd);
    return std::nullopt;
  }
  // One byte more than the size, so that reading up to the end needs no second
  // buffer when the file did not grow meanwhile.
  std::string content;
  content.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t done = 0;
  while (true) {
    if (done == content.size()) content.resize(content.size() * 2);
    const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      cause = LastError();
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  content.resize(done);
  return content;
}

std::optional<std::string> ReadWholeFile(const fs::path& file) {
  std::error_code ignored;
  return ReadWholeFile(file, ignored);
}

int CreateScratchFileFor(const fs::path& file, fs::path& scratch, std::error_code& cause) {
  cause.clear();
  const fs::path dir = file.has_parent_path() ? file.parent_path() : ".";
  const int fd = CreateTemporary(dir, file.filename().string(), 0600, scratch);
  if (fd < 0) cause = LastError();
  return fd;
}

bool IsInterruptedWriteName(std::string_view fileName) {
  if (fileName.size() < 1 + 1 + kTemporaryMarker.size() + kRandomLength) return false;
  if (fileName.front() != '.') return false;
  const std::size_t marker = fileName.size() - kRandomLength - kTemporaryMarker.size();
  return fileName.substr(marker, kTemporaryMarker.size()) == kTemporaryMarker &&
         IsRandomPart(fileName.substr(marker + kTemporaryMarker.size()));
}

int RemoveInterruptedWrites(const fs::path& directory, std::string_view fileName) {
  const std::string prefix = fileName.empty()
                                 ? std::string()
                                 : "." + std::string(fileName) + std::string(kTemporaryMarker);
  const int dirFd =
      ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return 0;
  DIR* listing = ::fdopendir(dirFd);
  if (listing == nullptr) {
    ::close(dirFd);
    return 0;
  }
  int removed = 0;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (!IsInterruptedWriteName(name)) continue;
    if (!prefix.empty() &&
        (name.size() != prefix.size() + kRandomLength || name.substr(0, prefix.size()) != prefix)) {
      continue;
    }
    const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    // A write in progress holds the lock; an interrupted one released it when it died.
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(opened, named) && ::unlinkat(dirFd, entry->d_name, 0) == 0) {
      ++removed;
    }
    ::close(fd);
  }
  ::closedir(listing);
  return removed;
}

}  // namespace pelorin
