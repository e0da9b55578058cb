#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "core/AppletSubsystem.h"
#include "core/BackgroundTimers.h"
#include "core/CommandDispatch.h"
#include "core/CoreContext.h"
#include "core/CoreHotkeys.h"
#include "core/MainMenu.h"
#include "core/PowerControl.h"
#include "core/ProfileLoader.h"
#include "core/ProfileSwitch.h"
#include "core/ProgramsLinkCheck.h"
#include "core/StatusStrip.h"
#include "core/StatusStripMouse.h"
#include "core/SuiteLock.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "core/WinampRemote.h"

namespace pelorin {

class TF_Profile;
class TF_SProfile;

// The whole suite on a set of ports: the core's parts, each made with the services and
// parts it needs, then every applet subsystem from its factory (SubsystemFactories).
// The program and the scenario tests make one.
class Suite {
 public:
  Suite(CorePorts ports, MainView& view, const std::filesystem::path& home);
  ~Suite();
  Suite(const Suite&) = delete;
  Suite& operator=(const Suite&) = delete;

  CoreContext& context() { return ctx_; }
  SharedValues& values() { return ctx_.values; }
  SuiteLifetime& lifetime() { return ctx_.lifetime; }
  SuiteSteps& steps() { return ctx_.steps; }
  TF_Main& main() { return main_; }
  TF_Pass& pass() { return pass_; }
  ProfileLoader& loader() { return loader_; }
  MainMenu& menu() { return menu_; }
  CommandDispatch& commands() { return commands_; }
  CoreHotkeys& hotkeys() { return hotkeys_; }
  BackgroundTimers& timers() { return timers_; }
  WinampRemote& winamp() { return winamp_; }
  ProgramsLinkCheck& links() { return links_; }
  StatusStripMouse& stripMouse() { return stripMouse_; }
  SuiteLock& lock() { return lock_; }
  StatusStrip& strip() { return strip_; }
  PowerControl& power() { return power_; }

  // The applet subsystems made for this suite, in the order of their factories.
  const std::vector<std::unique_ptr<AppletSubsystem>>& Subsystems() const { return subsystems_; }
  // The subsystem of type T, or nullptr when this build has none.
  template <typename T>
  T* Find() const {
    for (const std::unique_ptr<AppletSubsystem>& subsystem : subsystems_) {
      if (T* found = dynamic_cast<T*>(subsystem.get())) return found;
    }
    return nullptr;
  }

  // The prefs subsystem's windows.
  TF_SProfile& selector();
  TF_Profile& profileEditor();

 private:
  CoreContext ctx_;
  CoreHotkeys hotkeys_;
  MainMenu menu_;
  TF_Pass pass_;
  TF_Main main_;
  ProfileLoader loader_;
  PowerControl power_;
  BackgroundTimers timers_;
  ProfileSwitch profileSwitch_;
  CommandDispatch commands_;
  WinampRemote winamp_;
  ProgramsLinkCheck links_;
  StatusStripMouse stripMouse_;
  SuiteLock lock_;
  StatusStrip strip_;
  SubsystemServices services_;
  std::vector<std::unique_ptr<AppletSubsystem>> subsystems_;
};

}  // namespace pelorin
