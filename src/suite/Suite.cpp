#include "suite/Suite.h"

#include "prefs/PrefsSubsystem.h"
#include "suite/SubsystemFactories.h"

namespace pelorin {

Suite::Suite(CorePorts ports, MainView& view, const std::filesystem::path& home)
    : ctx_(ports, view, home),
      hotkeys_(ctx_),
      menu_(ctx_, hotkeys_),
      pass_(ctx_),
      main_(ctx_, menu_, hotkeys_, pass_),
      loader_(ctx_, menu_, hotkeys_),
      power_(ctx_, hotkeys_),
      timers_(ctx_, pass_, power_),
      profileSwitch_(ctx_, pass_, loader_, menu_, hotkeys_),
      commands_(ctx_, menu_),
      winamp_(ctx_),
      links_(ctx_, menu_, timers_),
      stripMouse_(ctx_, menu_),
      lock_(ctx_, menu_, main_, pass_),
      strip_(ctx_),
      services_{ctx_, pass_, hotkeys_, power_, menu_, loader_},
      subsystems_(MakeSubsystems(services_)) {
  // The items of the subsystems just made follow their flags from now on.
  menu_.ApplyMenuVisibility();
  // The system's sleep reaches the suite from here on.
  ctx_.ports.power.SetOnSleep([this](bool suspending) { ctx_.sleep(suspending); });
}

Suite::~Suite() = default;

TF_SProfile& Suite::selector() {
  return Find<PrefsSubsystem>()->Selector();
}

TF_Profile& Suite::profileEditor() {
  return Find<PrefsSubsystem>()->ProfileEditor();
}

}  // namespace pelorin
