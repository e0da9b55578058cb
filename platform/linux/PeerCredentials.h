#pragma once

#include <sys/types.h>

#include <optional>

namespace pelorin::lnx {

// The user id of the process at the other end of a connected local socket, as the
// kernel recorded it when the connection was made (SO_PEERCRED); nothing when the
// descriptor is no such socket.
std::optional<uid_t> PeerUid(int socketFd);

// Whether the other end of a connected local socket runs as this process's user.
bool PeerIsThisUser(int socketFd);

}  // namespace pelorin::lnx
