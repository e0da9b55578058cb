#pragma once

#include <memory>

#include "ui/SubsystemWidgets.h"

namespace pelorin::ui {

// The profile selection window and the profile editor; nothing without the prefs
// subsystem.
std::unique_ptr<SubsystemWidgets> MakePrefsWidgets(Suite& suite);

}  // namespace pelorin::ui
