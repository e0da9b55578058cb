#pragma once

#include "ports/Clock.h"
#include "ports/Companion.h"
#include "ports/Desktop.h"
#include "ports/Dialogs.h"
#include "ports/DriveTable.h"
#include "ports/Hotkeys.h"
#include "ports/Log.h"
#include "ports/MediaPlayer.h"
#include "ports/Mixer.h"
#include "ports/Power.h"
#include "ports/Screen.h"
#include "ports/Shell.h"
#include "ports/Sound.h"
#include "ports/Timers.h"

namespace pelorin {

// The system services the core works through.
struct CorePorts {
  ports::Clock& clock;
  ports::Timers& timers;
  ports::Dialogs& dialogs;
  ports::Shell& shell;
  ports::Hotkeys& hotkeys;
  ports::Mixer& mixer;
  ports::MediaPlayer& player;
  ports::Desktop& desktop;
  ports::Screen& screen;
  ports::Companion& companion;
  ports::DriveTable& drives;
  ports::Power& power;
  ports::Sound& sound;
  ports::Log& log;
};

}  // namespace pelorin
