#pragma once

#include <filesystem>
#include <string_view>

#include "core/ScriptedMediaPlayer.h"
#include "core/Suite.h"
#include "sim/SimClock.h"
#include "sim/SimCompanion.h"
#include "sim/SimDesktop.h"
#include "sim/SimDialogs.h"
#include "sim/SimDriveTable.h"
#include "sim/SimHotkeys.h"
#include "sim/SimMixer.h"
#include "sim/SimPower.h"
#include "sim/SimScreen.h"
#include "sim/SimShell.h"
#include "sim/SimTimers.h"
#include "storage/Scrambler.h"
#include "support/RecordingMainView.h"
#include "support/TempDir.h"

namespace pelorin::testing {

// The core on simulated ports and a temporary home, with the profile "Master" active and
// loaded: its folder exists and is the ProfileDir, and the hot-key atoms are added.
// `dialogs` replaces the scripted dialogs when given.
class SuiteOnSim {
 public:
  explicit SuiteOnSim(ports::Dialogs* dialogsPort = nullptr)
      : suite(CorePorts{clock, timers, dialogsPort != nullptr ? *dialogsPort : dialogs, shell,
                        hotkeys, mixer, player, desktop, screen, companion, drives, power},
              view, home.path()) {
    const std::filesystem::path profileDir = suite.context().layout.ProfileDir("Master");
    std::filesystem::create_directories(profileDir / "Data");
    SharedValues& v = suite.values();
    v.ProfileDir = profileDir;
    v.ProfileActive = true;
    v.ProfileLoaded = true;
    v.Running = true;
    suite.hotkeys().AddAtoms();
  }

  // pelorin.hf holding this plain text.
  void WriteSystemSettings(std::string_view plain) {
    WriteBytes(suite.context().layout.SystemSettingsFile(),
               ScrambleBlock(plain, SuiteLayout::kScrambledFileKey));
  }

  TempDir home;
  sim::SimClock clock;
  sim::SimTimers timers{clock};
  sim::SimDialogs dialogs{&timers};
  sim::SimShell shell;
  sim::SimHotkeys hotkeys;
  sim::SimMixer mixer;
  ScriptedMediaPlayer player;
  sim::SimDesktop desktop;
  sim::SimScreen screen;
  sim::SimCompanion companion;
  sim::SimDriveTable drives;
  sim::SimPower power{timers};
  RecordingMainView view;
  Suite suite;
};

}  // namespace pelorin::testing
