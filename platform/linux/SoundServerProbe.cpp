#include "linux/SoundServerProbe.h"

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

SoundServerState Probe(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return SoundServerState::kAbsent;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return SoundServerState::kAbsent;
  const int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  const int error = errno;
  ::close(fd);
  if (result == 0) return SoundServerState::kListening;
  return error == EAGAIN ? SoundServerState::kStuck : SoundServerState::kAbsent;
}

}  // namespace

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
