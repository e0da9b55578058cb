#pragma once

#include "linux/InstancePaths.h"

namespace pelorin::lnx {

// The one-time token that lets a restarted suite skip the profile password (restoring
// mode). Only the suite's own watchdog writes it, into the private runtime directory,
// just before it restarts a suite that ended without saying so.

// Writes a fresh token (random content, mode 600, replacing any older one in one step).
// False when it could not be written.
bool WriteRestoreToken(const InstancePaths& paths);

// True exactly when the token exists as a regular file (not a link), owned by this user,
// with mode 600, written at most 60 seconds ago. The token is deleted in every case, so
// it serves one start only.
bool ConsumeRestoreToken(const InstancePaths& paths);

}  // namespace pelorin::lnx
