#include "common/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace pelorin {
namespace {

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

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         Durability durability) {
  const bool durable = durability == Durability::Durable;
  const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : ".";
  std::string pattern = (dir / ("." + file.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return false;

  mode_t mode = 0644;
  struct stat old {};
  if (::stat(file.c_str(), &old) == 0) mode = old.st_mode & 07777;

  bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && (!durable || ::fdatasync(fd) == 0);
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(pattern.c_str(), file.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(pattern.c_str());
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

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
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

}  // namespace pelorin
