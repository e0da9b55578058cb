#include "CompanionChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string>
#include <utility>

#include "CompanionLog.h"
#include "linux/PeerCredentials.h"

namespace pelorin::cstdr {
namespace {

// The suite writes its line right after connecting; a connection that stays silent
// longer than this is dropped.
constexpr int kReadTimeoutMs = 200;
constexpr std::size_t kMaxConnectionBytes = 1024;

bool ParseNumber(std::string_view text, int& value) {
  const auto [rest, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  return failure == std::errc() && rest == text.data() + text.size();
}

// The next blank-separated word of text, taken off its front.
std::string_view NextWord(std::string_view& text) {
  const auto start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    text = {};
    return {};
  }
  text.remove_prefix(start);
  const auto end = std::min(text.find(' '), text.size());
  const std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

}  // namespace

CompanionChannel::CompanionChannel(lnx::InstancePaths paths) : paths_(std::move(paths)) {}

CompanionChannel::~CompanionChannel() {
  if (listenFd_ >= 0) {
    ::close(listenFd_);
    ::unlink(paths_.CompanionSocket().c_str());
  }
  if (lockFd_ >= 0) ::close(lockFd_);
}

CompanionChannel::OpenResult CompanionChannel::Open() {
  lockFd_ = ::open(paths_.CompanionLock().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd_ < 0) return OpenResult::Failed;
  if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    const bool taken = errno == EWOULDBLOCK;
    ::close(lockFd_);
    lockFd_ = -1;
    return taken ? OpenResult::AnotherCompanion : OpenResult::Failed;
  }

  const std::string socketPath = paths_.CompanionSocket().string();
  sockaddr_un address{};
  if (socketPath.size() >= sizeof address.sun_path) return OpenResult::Failed;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  // Holding the lock, no other companion listens: whatever is left there is stale.
  ::unlink(socketPath.c_str());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return OpenResult::Failed;
  const mode_t oldMask = ::umask(0177);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::umask(oldMask);
  if (!bound || ::listen(fd, 16) != 0) {
    ::close(fd);
    return OpenResult::Failed;
  }
  listenFd_ = fd;
  return OpenResult::Opened;
}

std::vector<CompanionMessage> CompanionChannel::Receive(std::chrono::milliseconds wait) {
  std::vector<CompanionMessage> messages;
  if (listenFd_ < 0) return messages;
  pollfd listening{listenFd_, POLLIN, 0};
  if (::poll(&listening, 1, static_cast<int>(wait.count())) <= 0) return messages;
  for (;;) {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) break;  // EAGAIN: every waiting connection is read
    if (lnx::PeerIsThisUser(fd)) {
      ReadConnection(fd, messages);
    } else {
      Log("refused a connection from another user");
    }
    ::close(fd);
  }
  return messages;
}

void CompanionChannel::ReadConnection(int fd, std::vector<CompanionMessage>& messages) {
  std::string text;
  pollfd connection{fd, POLLIN, 0};
  while (text.size() < kMaxConnectionBytes && ::poll(&connection, 1, kReadTimeoutMs) > 0) {
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  std::string_view rest = text;
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    if (end == std::string_view::npos) break;  // an unfinished line is no message
    CompanionMessage message;
    if (ParseLine(rest.substr(0, end), message)) messages.push_back(message);
    rest.remove_prefix(end + 1);
  }
}

bool CompanionChannel::ParseLine(std::string_view line, CompanionMessage& message) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (NextWord(line) != "POST") return false;
  CompanionMessage parsed;
  if (!ParseNumber(NextWord(line), parsed.message) || !ParseNumber(NextWord(line), parsed.wParam) ||
      !ParseNumber(NextWord(line), parsed.lParam) || !NextWord(line).empty())
    return false;
  message = parsed;
  return true;
}

}  // namespace pelorin::cstdr
