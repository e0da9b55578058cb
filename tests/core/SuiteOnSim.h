#pragma once

#include <filesystem>
#include <string_view>

#include "core/ScriptedMediaPlayer.h"
#include "storage/Scrambler.h"
#include "suite/Suite.h"
#include "support/RecordingMainView.h"
#include "support/SimPortSet.h"
#include "support/TempDir.h"

namespace pelorin::testing {

// The core on simulated ports and a temporary home, with the profile "Master" active and
// loaded: its folder exists and is the ProfileDir, and the hot-key atoms are added.
// `dialogs` replaces the scripted dialogs when given.
class SuiteOnSim : public SimPortSet<ScriptedMediaPlayer> {
 public:
  explicit SuiteOnSim(ports::Dialogs* dialogsPort = nullptr)
      : suite(Ports(dialogsPort), view, home.path()) {
    const std::filesystem::path profileDir = suite.context().layout.ProfileDir("Master");
    std::filesystem::create_directories(profileDir / "Data");
    SharedValues& v = suite.values();
    v.ProfileDir = profileDir;
    v.ProfileActive = true;
    v.ProfileLoaded = true;
    suite.lifetime().Running = true;
    suite.hotkeys().AddAtoms();
  }

  // pelorin.hf holding this plain text.
  void WriteSystemSettings(std::string_view plain) {
    WriteBytes(suite.context().layout.SystemSettingsFile(),
               ScrambleBlock(plain, SuiteLayout::kScrambledFileKey));
  }

  TempDir home;
  RecordingMainView view;
  Suite suite;
};

}  // namespace pelorin::testing
