#include "DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <charconv>
#include <cstddef>
#include <cstring>
#include <string>

namespace pelorin::cstdr {
namespace {

// Connects to a local socket; abstract names start with '\0'.
bool LocalSocketAnswers(const std::string& name) {
  sockaddr_un address{};
  if (name.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, name.data(), name.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
  ::close(fd);
  return connected;
}

}  // namespace

bool DisplayAnswers(std::string_view display) {
  const auto colon = display.rfind(':');
  if (colon == std::string_view::npos) return true;
  const std::string_view host = display.substr(0, colon);
  if (!host.empty() && host != "unix") return true;
  std::string_view rest = display.substr(colon + 1);
  rest = rest.substr(0, rest.find('.'));
  unsigned number = 0;
  const auto [end, failure] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
  if (failure != std::errc() || end != rest.data() + rest.size()) return true;
  const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
  return LocalSocketAnswers(path) || LocalSocketAnswers(std::string(1, '\0') + path);
}

}  // namespace pelorin::cstdr
