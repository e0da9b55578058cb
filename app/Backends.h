#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "core/CorePorts.h"
#include "sim/SimPower.h"

namespace pelorin::app {

// Where the program runs from and for which home.
struct ProgramPlace {
  std::filesystem::path executable;
  std::filesystem::path home;
  std::filesystem::path defaultHome;  // the home found without --home
  bool installed = false;             // not a copy in the build tree
};

// The system services of one backend. Linux: the real ones. Sim: drives, mixer,
// media player, desktop and shell launches are simulated (launches and the like are
// logged to standard error, not performed); windows, dialogs, clock, timers, the
// instance channel, the companion and global hot-keys stay real.
class Backends {
 public:
  virtual ~Backends() = default;
  virtual CorePorts Ports() = 0;
  // The simulated power of the sim backend, which test events put to sleep and wake up;
  // none on the linux backend.
  virtual sim::SimPower* SimulatedPower() { return nullptr; }
};

std::unique_ptr<Backends> MakeBackends(BackendKind kind, const ProgramPlace& place);

}  // namespace pelorin::app
