#include "app/Backends.h"

#include "app/LoggedSimServices.h"
#include "linux/AlsaMixer.h"
#include "linux/LinuxClock.h"
#include "linux/LinuxCompanion.h"
#include "linux/LinuxDesktop.h"
#include "linux/LinuxDriveTable.h"
#include "linux/LinuxHotkeys.h"
#include "linux/LinuxMediaPlayer.h"
#include "linux/LinuxScreen.h"
#include "linux/LinuxShell.h"
#include "linux/QtDialogs.h"
#include "linux/QtTimers.h"
#include "sim/SimDriveTable.h"
#include "sim/SimMediaPlayer.h"
#include "sim/SimMixer.h"

namespace pelorin::app {
namespace {

// What both backends share: the real windows, dialogs, clock, timers, hot-keys,
// screen and companion.
struct CommonServices {
  explicit CommonServices(const ProgramPlace& place, const char* backendName)
      : companion(place.home, place.executable, backendName) {}
  lnx::LinuxClock clock;
  lnx::QtTimers timers;
  lnx::QtDialogs dialogs;
  lnx::LinuxHotkeys hotkeys;
  lnx::LinuxScreen screen;
  lnx::LinuxCompanion companion;
};

class LinuxBackends : public Backends {
 public:
  explicit LinuxBackends(const ProgramPlace& place)
      : common_(place, ""),
        desktop_(place.executable, place.home, place.installed, place.defaultHome) {}

  CorePorts Ports() override {
    return {common_.clock, common_.timers, common_.dialogs, shell_,         common_.hotkeys,
            mixer_,        player_,        desktop_,        common_.screen, common_.companion,
            drives_};
  }

 private:
  CommonServices common_;
  lnx::LinuxShell shell_;
  lnx::AlsaMixer mixer_;
  lnx::LinuxMediaPlayer player_;
  lnx::LinuxDesktop desktop_;
  lnx::LinuxDriveTable drives_;
};

class SimBackends : public Backends {
 public:
  explicit SimBackends(const ProgramPlace& place) : common_(place, "sim") {
    drives_.SetDrive('C', ports::DriveType::Fixed, "/");
    drives_.SetDrive('D', ports::DriveType::CdRom);
  }

  CorePorts Ports() override {
    return {common_.clock, common_.timers, common_.dialogs, shell_,         common_.hotkeys,
            mixer_,        player_,        desktop_,        common_.screen, common_.companion,
            drives_};
  }

 private:
  CommonServices common_;
  LoggedSimShell shell_;
  sim::SimMixer mixer_;
  sim::SimMediaPlayer player_;
  LoggedSimDesktop desktop_;
  sim::SimDriveTable drives_;
};

}  // namespace

std::unique_ptr<Backends> MakeBackends(BackendKind kind, const ProgramPlace& place) {
  if (kind == BackendKind::Sim) return std::make_unique<SimBackends>(place);
  return std::make_unique<LinuxBackends>(place);
}

}  // namespace pelorin::app
