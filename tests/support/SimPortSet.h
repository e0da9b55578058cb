#pragma once

#include "core/CorePorts.h"
#include "sim/SimClock.h"
#include "sim/SimCompanion.h"
#include "sim/SimDesktop.h"
#include "sim/SimDialogs.h"
#include "sim/SimDriveTable.h"
#include "sim/SimHotkeys.h"
#include "sim/SimLog.h"
#include "sim/SimMediaPlayer.h"
#include "sim/SimMixer.h"
#include "sim/SimPower.h"
#include "sim/SimScreen.h"
#include "sim/SimShell.h"
#include "sim/SimSound.h"
#include "sim/SimTimers.h"

namespace pelorin::testing {

// Every system service of the core, simulated: a virtual clock with its timers,
// scripted dialogs that answer in virtual time, and the recording fakes of the rest.
// `Player` is the media player (a test may want one that answers as a slow player).
template <typename Player = sim::SimMediaPlayer>
struct SimPortSet {
  // The ports as the core takes them; `dialogsPort` stands in for the scripted dialogs
  // when given.
  CorePorts Ports(ports::Dialogs* dialogsPort = nullptr) {
    return CorePorts{clock,     timers,  dialogsPort != nullptr ? *dialogsPort : dialogs,
                     shell,     hotkeys, mixer,
                     player,    desktop, screen,
                     companion, drives,  power,
                     sound,     log};
  }

  sim::SimClock clock;
  sim::SimTimers timers{clock};
  sim::SimDialogs dialogs{&timers};
  sim::SimShell shell;
  sim::SimHotkeys hotkeys;
  sim::SimMixer mixer;
  Player player;
  sim::SimDesktop desktop;
  sim::SimScreen screen;
  sim::SimCompanion companion;
  sim::SimDriveTable drives;
  sim::SimPower power{timers};
  sim::SimSound sound{clock};
  sim::SimLog log;
};

}  // namespace pelorin::testing
