#include "linux/ChannelRecord.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace fs = std::filesystem;

namespace pelorin::lnx {
namespace {

constexpr std::size_t kMaxRecordBytes = 4096;

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string WriteChannelRecord(const fs::path& file, const ChannelRecord& record) {
  const std::string text = std::to_string(record.pid) + "\n" + record.socket.string() + "\n";
  // The lock holder alone writes here, so one fixed temporary name is enough; one that a
  // crash left behind is replaced.
  const fs::path temporary = file.string() + ".new";
  ::unlink(temporary.c_str());
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return "cannot write " + temporary.string() + ": " + std::strerror(errno);
  const bool written = WriteAll(fd, text);
  const int failure = errno;
  ::close(fd);
  if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
    const std::string reason = std::strerror(written ? errno : failure);
    ::unlink(temporary.c_str());
    return "cannot write " + file.string() + ": " + reason;
  }
  return {};
}

std::optional<ChannelRecord> ReadChannelRecord(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::string text;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid() &&
      info.st_size > 0 && static_cast<std::size_t>(info.st_size) <= kMaxRecordBytes) {
    text.resize(kMaxRecordBytes);
    const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  }
  ::close(fd);

  const auto firstEnd = text.find('\n');
  if (firstEnd == std::string::npos || firstEnd + 1 >= text.size() || text.back() != '\n') {
    return std::nullopt;
  }
  const std::string socket = text.substr(firstEnd + 1, text.size() - firstEnd - 2);
  ChannelRecord record;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + firstEnd, record.pid);
  if (failure != std::errc() || end != text.data() + firstEnd || record.pid <= 0 ||
      socket.empty() || socket.find('\n') != std::string::npos || !fs::path(socket).is_absolute()) {
    return std::nullopt;
  }
  record.socket = socket;
  return record;
}

}  // namespace pelorin::lnx
