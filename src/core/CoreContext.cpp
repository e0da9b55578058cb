#include "core/CoreContext.h"

namespace pelorin {

CoreContext::CoreContext(CorePorts p, MainView& v, const std::filesystem::path& home)
    : ports(p),
      view(v),
      layout(home),
      custodo(layout, "Master", p.dialogs, p.log),
      files(layout, "Master", p.dialogs, p.log, custodo, [this] { lifetime.SaveAndQuit(); }) {
  values.ProgramDir = home;
  values.ProfileDir = home;
  values.MenuFlags.fill(true);
  values.PanelFlags.fill(true);
  ports.hotkeys.SetOnHotkey([this](int id, unsigned modifiers, int virtualKey) {
    hotkeyPresses(id, modifiers, virtualKey);
  });
}

CoreContext::~CoreContext() {
  ports.hotkeys.SetOnHotkey(nullptr);
  ports.power.SetOnSleep(nullptr);
}

}  // namespace pelorin
