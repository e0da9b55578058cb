#pragma once

#include <csignal>
#include <vector>

#include "CompanionChannel.h"
#include "CompanionOptions.h"
#include "linux/InstancePaths.h"

namespace pelorin::cstdr {

// The companion's work: it listens on its channel and watches the suite's lock. The
// suite greets it (ports::kCompanionGreeting) once it has seen the companion and says
// goodbye (ports::kCompanionShutdown) when it ends in order, upon which the companion
// ends too. When the
// suite's process ends without that message (a crash, a kill), the companion writes a
// one-time restore token, starts the suite again in restoring mode and hands it the
// token's secret through a pipe (RestoreToken.h), then watches the
// new process once it has taken its lock (within 10 s). It gives up after 3 restarts
// within 60 s, and never restarts while DISPLAY names a display that no longer answers
// (the session has ended).
class Watchdog {
 public:
  Watchdog(CompanionOptions options, lnx::InstancePaths paths);

  // Runs until the companion's work is done; the exit status: 0 when the suite ended in
  // order, another companion already watches the home, the display is gone or a signal
  // asked to stop; 1 when it gave up or could not work.
  int Run(const volatile std::sig_atomic_t& stopRequested);

 private:
  // Logs what arrived; true when the suite's shutdown message is among it.
  static bool ShutdownAmong(const std::vector<CompanionMessage>& messages);

  CompanionOptions options_;
  lnx::InstancePaths paths_;
};

}  // namespace pelorin::cstdr
