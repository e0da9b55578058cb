#include "prefs/PrefsSubsystem.h"

#include "core/CoreContext.h"
#include "core/MenuItemIds.h"

namespace pelorin {

PrefsSubsystem::PrefsSubsystem(SubsystemServices& services)
    : ctx_(services.core),
      selector_(services.core, services.passwords),
      profileEditor_(services.core, services.menu, services.loader) {
  constexpr SubsystemId prefs = SubsystemId::Prefs;
  ctx_.hooks.ShowProfileSelection.Provide(prefs, [this] { selector_.Show(); });
  // "Profiles..." does not open while the suite is locked.
  ctx_.commands.Bind(menu_item::kProfileEditor, prefs, [this] {
    if (!ctx_.values.Locked) profileEditor_.FormShow();
  });
  ctx_.steps.closeAllWindows.Bind(CloseWindowStep::kProfile, prefs, [this] {
    if (profileEditor_.Visible()) profileEditor_.FormClose();
  });
}

std::unique_ptr<AppletSubsystem> MakePrefsSubsystem(SubsystemServices& services) {
  return std::make_unique<PrefsSubsystem>(services);
}

}  // namespace pelorin
