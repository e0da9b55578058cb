#include "Watchdog.h"

#include <sys/types.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "CompanionLog.h"
#include "DisplayCheck.h"
#include "RestartBudget.h"
#include "SuiteLauncher.h"
#include "SuiteLockProbe.h"
#include "linux/RestoreToken.h"

namespace pelorin::cstdr {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kRestartLimit = 3;
constexpr auto kRestartWindow = 60s;
constexpr auto kLockWait = 10s;

// DISPLAY when it is set and its display no longer answers; empty otherwise.
std::string GoneDisplay() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0' || DisplayAnswers(display)) return {};
  return display;
}

}  // namespace

Watchdog::Watchdog(CompanionOptions options, lnx::InstancePaths paths)
    : options_(std::move(options)), paths_(std::move(paths)) {}

bool Watchdog::ShutdownAmong(const std::vector<CompanionMessage>& messages) {
  bool shutdown = false;
  for (const auto& m : messages) {
    if (m == ports::kCompanionGreeting) {
      Log("the suite greeted its companion");
    } else if (m == ports::kCompanionShutdown) {
      Log("the suite is ending in order");
      shutdown = true;
    } else {
      Log("ignored the message " + std::to_string(m.message) + " " + std::to_string(m.wParam) +
          " " + std::to_string(m.lParam));
    }
  }
  return shutdown;
}

int Watchdog::Run(const volatile std::sig_atomic_t& stopRequested) {
  // Looked at before the channel opens: once the suite sees its companion, the companion
  // has seen the suite, however soon the suite ends after that.
  const SuiteLockProbe probe(paths_.LockFile());
  bool waiting = !probe.SuiteRunning();  // for the suite to take its lock
  CompanionChannel channel(paths_);
  switch (channel.Open()) {
    case CompanionChannel::OpenResult::AnotherCompanion:
      Log("another companion already watches this home");
      return 0;
    case CompanionChannel::OpenResult::Failed:
      Log("cannot listen on " + paths_.CompanionSocket().string() + ": " + std::strerror(errno));
      return 1;
    case CompanionChannel::OpenResult::Opened:
      break;
  }
  RestartBudget budget(kRestartLimit, kRestartWindow);
  Log("watching the suite of " + options_.home.string() + " by its lock " +
      paths_.LockFile().string());

  pid_t child = -1;  // the suite this companion started, while it is not yet collected
  auto deadline = Clock::now() + kLockWait;
  while (!stopRequested) {
    if (ShutdownAmong(channel.Receive(options_.pollPeriod))) return 0;
    const bool childEnded = ReapEndedChildren(child);
    if (probe.SuiteRunning()) {
      waiting = false;
      continue;
    }
    if (waiting && !childEnded && Clock::now() < deadline) continue;
    if (waiting && child < 0) {
      Log("no suite runs for this home: nothing to watch");
      return 1;
    }
    if (waiting && !childEnded) {
      Log("the restarted suite did not take its lock within 10 s: giving up");
      return 1;
    }
    // The suite has ended. A shutdown message sent just before is still waiting.
    if (ShutdownAmong(channel.Receive(0ms))) return 0;
    Log(waiting ? "the restarted suite ended before it was up"
                : "the suite ended without its shutdown message");

    if (const std::string gone = GoneDisplay(); !gone.empty()) {
      Log("the display " + gone + " is gone: the suite is not started again");
      return 0;
    }
    if (!budget.Take(Clock::now())) {
      Log("the suite was started again " + std::to_string(kRestartLimit) +
          " times within 60 s: giving up");
      return 1;
    }
    const auto secret = lnx::WriteRestoreToken(paths_);
    if (!secret) Log("cannot write the restore token: the suite will ask for its password");
    std::string error;
    child = StartSuiteRestoring(options_, secret.value_or(std::string()), error);
    if (child < 0) {
      Log("cannot start " + options_.suite.string() + ": " + error);
      return 1;
    }
    Log("started the suite again (process " + std::to_string(child) + ")");
    waiting = true;
    deadline = Clock::now() + kLockWait;
  }
  Log("stopped by a signal");
  return 0;
}

}  // namespace pelorin::cstdr
