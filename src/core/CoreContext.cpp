#include "core/CoreContext.h"

#include "core/TF_Main.h"

namespace pelorin {

CoreContext::CoreContext(CorePorts p, MainView& v, const std::filesystem::path& home)
    : ports(p),
      view(v),
      layout(home),
      custodo(layout, "Master", p.dialogs),
      files(layout, "Master", p.dialogs, custodo, [this] {
        if (main != nullptr) main->SaveAndQuit();
      }) {
  values.ProgramDir = home;
  values.ProfileDir = home;
  values.MenuFlags.fill(true);
  values.PanelFlags.fill(true);
}

}  // namespace pelorin
