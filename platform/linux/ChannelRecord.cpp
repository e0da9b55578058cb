#include "linux/ChannelRecord.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>

namespace fs = std::filesystem;

namespace pelorin::lnx {
namespace {

constexpr std::size_t kMaxRecordBytes = 4096;

}  // namespace

std::string FormatChannelRecord(const ChannelRecord& record) {
  return std::to_string(record.pid) + "\n" + record.socket.string() + "\n";
}

std::optional<ChannelRecord> ParseChannelRecord(std::string_view text) {
  const auto firstEnd = text.find('\n');
  if (firstEnd == std::string_view::npos || firstEnd + 1 >= text.size() || text.back() != '\n') {
    return std::nullopt;
  }
  const std::string_view socket = text.substr(firstEnd + 1, text.size() - firstEnd - 2);
  ChannelRecord record;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + firstEnd, record.pid);
  if (failure != std::errc() || end != text.data() + firstEnd || record.pid <= 0 ||
      socket.empty() || socket.find('\n') != std::string_view::npos ||
      !fs::path(socket).is_absolute()) {
    return std::nullopt;
  }
  record.socket = socket;
  return record;
}

std::optional<ChannelRecord> ReadChannelRecord(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::string text;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid()) {
    text.resize(kMaxRecordBytes);
    const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  }
  ::close(fd);
  return ParseChannelRecord(text);
}

}  // namespace pelorin::lnx
