#include "linux/PeerCredentials.h"

#include <sys/socket.h>
#include <unistd.h>

namespace pelorin::lnx {

std::optional<uid_t> PeerUid(int socketFd) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (socketFd < 0 || ::getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
      size != sizeof credentials) {
    return std::nullopt;
  }
  return credentials.uid;
}

bool PeerIsThisUser(int socketFd) {
  const auto uid = PeerUid(socketFd);
  return uid && *uid == ::getuid();
}

}  // namespace pelorin::lnx
