// cstdr: the suite's companion watchdog. The suite starts it with
// "START --home H --suite PATH [--backend B]" and posts it its greeting and its shutdown
// message; when the suite's process ends without the shutdown message, cstdr starts it
// again in restoring mode (see Watchdog.h).

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "CompanionLog.h"
#include "CompanionOptions.h"
#include "Watchdog.h"
#include "linux/InstancePaths.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
  stopRequested = 1;
}

void InstallSignalHandlers() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignore, nullptr);
  struct sigaction stop {};
  stop.sa_handler = RequestStop;  // without SA_RESTART: a waiting poll() returns at once
  ::sigemptyset(&stop.sa_mask);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    ::sigaction(signal, &stop, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pelorin::cstdr;
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = ParseCompanionOptions(args, error);
  if (!options) {
    Log(error);
    std::fputs("usage: cstdr START --home DIR --suite PROGRAM [--backend NAME]\n", stderr);
    return 2;
  }
  // The companion's socket, its lock and the restore token live in the runtime folder:
  // one that others can write in would let them keep the companion away or forge a
  // restart.
  const auto paths = pelorin::lnx::InstancePathsFor(options->home);
  if (const std::string distrust = pelorin::lnx::SecureRuntimeFolder(paths.runtime);
      !distrust.empty()) {
    Log(distrust + ": the companion does not start");
    return 1;
  }
  // Outlive the suite's session and terminal, and keep no directory busy.
  ::setsid();
  if (::chdir("/") != 0) Log("cannot change to the root directory");
  InstallSignalHandlers();
  Watchdog watchdog(*options, paths);
  return watchdog.Run(stopRequested);
}
