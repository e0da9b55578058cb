#pragma once

#include <filesystem>
#include <memory>

#include "core/BackgroundTimers.h"
#include "core/CommandDispatch.h"
#include "core/CoreContext.h"
#include "core/CoreHotkeys.h"
#include "core/MainMenu.h"
#include "core/PowerControl.h"
#include "core/ProfileLoader.h"
#include "core/ProgramsLinkCheck.h"
#include "core/StatusStrip.h"
#include "core/StatusStripMouse.h"
#include "core/SuiteLock.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "core/TF_Profile.h"
#include "core/TF_SProfile.h"
#include "core/WinampRemote.h"

namespace pelorin {

// The whole suite on a set of ports: the program and the scenario tests make one.
class Suite {
 public:
  Suite(CorePorts ports, MainView& view, const std::filesystem::path& home);

  CoreContext& context() { return ctx_; }
  SharedValues& values() { return ctx_.values; }
  TF_Main& main() { return main_; }
  TF_Pass& pass() { return pass_; }
  ProfileLoader& loader() { return loader_; }
  MainMenu& menu() { return menu_; }
  CommandDispatch& commands() { return commands_; }
  CoreHotkeys& hotkeys() { return hotkeys_; }
  BackgroundTimers& timers() { return timers_; }
  WinampRemote& winamp() { return winamp_; }
  StatusStripMouse& stripMouse() { return stripMouse_; }
  SuiteLock& lock() { return lock_; }
  StatusStrip& strip() { return strip_; }
  PowerControl& power() { return power_; }
  TF_SProfile& selector() { return selector_; }
  TF_Profile& profileEditor() { return profileEditor_; }

 private:
  CoreContext ctx_;
  TF_Main main_;
  TF_Pass pass_;
  ProfileLoader loader_;
  MainMenu menu_;
  CommandDispatch commands_;
  CoreHotkeys hotkeys_;
  BackgroundTimers timers_;
  WinampRemote winamp_;
  ProgramsLinkCheck links_;
  StatusStripMouse stripMouse_;
  SuiteLock lock_;
  StatusStrip strip_;
  PowerControl power_;
  TF_SProfile selector_;
  TF_Profile profileEditor_;
};

}  // namespace pelorin
