#include "linux/SoundServerProbe.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace pelorin::lnx {
namespace {

std::vector<std::string> SocketPaths() {
  std::vector<std::string> paths;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string runtimeDir =
      runtime != nullptr && *runtime != '\0' ? runtime : "/run/user/" + std::to_string(::getuid());
  if (const char* server = std::getenv("PULSE_SERVER"); server != nullptr && *server != '\0') {
    // A list of addresses, tried in turn: "unix:/path", "/path", "tcp:host", "host".
    std::istringstream addresses(server);
    std::string address;
    while (addresses >> address) {
      if (address.rfind("{", 0) == 0) address.erase(0, address.find('}') + 1);  // "{id}addr"
      if (address.rfind("unix:", 0) == 0) address.erase(0, 5);
      if (address.rfind("/", 0) == 0) paths.push_back(address);
    }
  } else {
    paths.push_back(runtimeDir + "/pulse/native");
  }
  paths.push_back(runtimeDir + "/pipewire-0");
  return paths;
}

// A connection to the socket at `path` that does not wait: the socket, or -1 with the
// reason in `error`.
int ConnectWithoutWaiting(const std::string& path, int& error) {
  sockaddr_un address{};
  error = ENAMETOOLONG;
  if (path.size() >= sizeof address.sun_path) return -1;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  error = errno;
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
  error = errno;
  ::close(fd);
  return -1;
}

SoundServerState Probe(const std::string& path) {
  int error = 0;
  const int fd = ConnectWithoutWaiting(path, error);
  if (fd >= 0) {
    ::close(fd);
    return SoundServerState::kListening;
  }
  return error == EAGAIN ? SoundServerState::kStuck : SoundServerState::kAbsent;
}

bool Answers(const std::string& path, std::chrono::milliseconds wait) {
  int error = 0;
  const int fd = ConnectWithoutWaiting(path, error);
  if (fd < 0) return false;
  // A frame header that claims a length beyond any frame's: the server refuses it
  // before it looks at anything else.
  const unsigned char frame[20] = {0xFF, 0xFF, 0xFF, 0xFF};
  bool answered = false;
  if (::send(fd, frame, sizeof frame, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof frame)) {
    pollfd watch{.fd = fd, .events = POLLIN, .revents = 0};
    answered = ::poll(&watch, 1, static_cast<int>(wait.count())) > 0;
  }
  ::close(fd);
  return answered;
}

}  // namespace

bool SoundServerAnswers(std::chrono::milliseconds wait) {
  for (const std::string& path : SocketPaths())
    if (Answers(path, wait)) return true;
  return false;
}

SoundServerState ProbeSoundServer() {
  SoundServerState state = SoundServerState::kAbsent;
  for (const std::string& path : SocketPaths()) {
    const SoundServerState found = Probe(path);
    if (found == SoundServerState::kStuck) return found;
    if (found == SoundServerState::kListening) state = found;
  }
  return state;
}

}  // namespace pelorin::lnx
