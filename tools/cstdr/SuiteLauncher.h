#pragma once

#include <sys/types.h>

#include <string>

#include "CompanionOptions.h"

namespace pelorin::cstdr {

// Starts the suite again in restoring mode: its executable with the arguments
// "PELORIN.EXE --home H", "--backend B" when a backend was given and, when `secret` is
// not empty, "--restore-fd N": N is the read end of a pipe that holds the secret and a
// line end, its write end already closed. The suite runs in a session of its own
// (setsid), with the watchdog's environment (DISPLAY, XDG_RUNTIME_DIR, ...) and standard
// input from /dev/null. Returns its process id, or -1 with the reason in error when it
// could not be started.
pid_t StartSuiteRestoring(const CompanionOptions& options, const std::string& secret,
                          std::string& error);

// Collects every child process that has ended; true when `child` was one of them.
bool ReapEndedChildren(pid_t child);

}  // namespace pelorin::cstdr
