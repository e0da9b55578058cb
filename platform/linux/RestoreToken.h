#pragma once

#include <optional>
#include <string>

#include "linux/InstancePaths.h"

namespace pelorin::lnx {

// The one-time token that lets a restarted suite skip the profile password (restoring
// mode). Only the suite's own watchdog makes it, just before it restarts a suite that
// ended without saying so: it records a fresh random secret in the runtime folder and
// hands the same secret to the suite it starts through an inherited pipe
// ("--restore-fd N"). The suite honours restoring mode only when both agree, so neither
// a file put in the folder nor the argument alone opens the profile.

// Writes a fresh token (random content, mode 600, replacing any older one in one step)
// and returns its secret (64 hex digits); nothing when it could not be written.
std::optional<std::string> WriteRestoreToken(const InstancePaths& paths);

// The secret handed over on `fd`, which must be a pipe (anything else is not read);
// the descriptor is closed in every case. Empty when there is none.
std::string ReadHandedOverSecret(int fd);

// True exactly when the token exists as a regular file (not a link), owned by this user,
// with mode 600, written at most 60 seconds ago, and holds `secret` (not empty). The
// token is deleted in every case, so it serves one start only.
bool ConsumeRestoreToken(const InstancePaths& paths, const std::string& secret);

}  // namespace pelorin::lnx
