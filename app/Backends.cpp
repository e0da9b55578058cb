#include "app/Backends.h"

#include <cstdint>
#include <type_traits>
#include <utility>

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
#include "linux/LogindPower.h"
#include "linux/QtDialogs.h"
#include "linux/QtSound.h"
#include "linux/QtTimers.h"
#include "linux/StderrLog.h"
#include "sim/SimDriveTable.h"
#include "sim/SimMediaPlayer.h"
#include "sim/SimMixer.h"

namespace pelorin::app {
namespace {

// The simulated C: drive: 40 GiB with 10 GiB free.
constexpr std::int64_t kSimDiskBytes = std::int64_t{40} << 30;
constexpr std::int64_t kSimFreeBytes = std::int64_t{10} << 30;

// What both backends share: the log, made first for the others to write to, and the
// real windows, dialogs, clock, timers, hot-keys, screen and companion.
struct CommonServices {
  explicit CommonServices(const ProgramPlace& place, const char* backendName)
      : companion(place.home, place.executable, log, backendName) {}
  lnx::StderrLog log;
  lnx::LinuxClock clock;
  lnx::QtTimers timers;
  lnx::QtDialogs dialogs;
  lnx::LinuxHotkeys hotkeys{log};
  lnx::LinuxScreen screen{log};
  lnx::LinuxCompanion companion;
};

// A backend's service made with `args`, and with the log after them where it takes one
// (the system's services do, the simulated ones keep no log).
template <typename Service, typename... Args>
Service WithLog(ports::Log& log, Args&... args) {
  if constexpr (std::is_constructible_v<Service, Args&..., ports::Log&>) {
    return Service(args..., log);
  } else {
    return Service(args...);
  }
}

// A backend: the common services and its own shell, mixer, media player, desktop,
// drive table and power.
template <typename Shell, typename Mixer, typename Player, typename Desktop, typename Drives,
          typename Power, typename Sound>
class BackendSet : public Backends {
 public:
  template <typename... DesktopArgs>
  BackendSet(const ProgramPlace& place, const char* backendName, DesktopArgs&&... desktopArgs)
      : common_(place, backendName), desktop_(std::forward<DesktopArgs>(desktopArgs)...) {}

  CorePorts Ports() override {
    return {common_.clock, common_.timers, common_.dialogs, shell_,         common_.hotkeys,
            mixer_,        player_,        desktop_,        common_.screen, common_.companion,
            drives_,       power_,         sound_,          common_.log};
  }

 protected:
  CommonServices common_;
  Shell shell_;
  Mixer mixer_ = WithLog<Mixer>(common_.log);
  Player player_ = WithLog<Player>(common_.log);
  Desktop desktop_;
  Drives drives_;
  Power power_ = WithLog<Power>(common_.log, common_.timers);
  Sound sound_ = WithLog<Sound>(common_.log, common_.clock);
};

// The computer's power and the session through systemd-logind on the system bus. Every
// backend's power is made with the timers: the simulated one answers through them,
// logind's answers come from the bus.
class SystemPower : public lnx::LogindPower {
 public:
  SystemPower(ports::Timers& /*timers*/, ports::Log& log)
      : LogindPower(QDBusConnection::systemBus(), log) {}
};

using LinuxBackends =
    BackendSet<lnx::LinuxShell, lnx::AlsaMixer, lnx::LinuxMediaPlayer, lnx::LinuxDesktop,
               lnx::LinuxDriveTable, SystemPower, lnx::QtSound>;

class SimBackends
    : public BackendSet<LoggedSimShell, sim::SimMixer, sim::SimMediaPlayer, LoggedSimDesktop,
                        sim::SimDriveTable, LoggedSimPower, LoggedSimSound> {
 public:
  explicit SimBackends(const ProgramPlace& place) : BackendSet(place, "sim") {
    drives_.SetDrive('C', ports::DriveType::Fixed, "/");
    drives_.SetSpace('C', {kSimFreeBytes, kSimDiskBytes});
    drives_.SetDrive('D', ports::DriveType::CdRom);
  }
  sim::SimPower* SimulatedPower() override { return &power_; }
};

}  // namespace

std::unique_ptr<Backends> MakeBackends(BackendKind kind, const ProgramPlace& place) {
  if (kind == BackendKind::Sim) return std::make_unique<SimBackends>(place);
  return std::make_unique<LinuxBackends>(place, "", place.executable, place.home, place.installed,
                                         place.defaultHome);
}

}  // namespace pelorin::app
