#pragma once

#include <memory>

#include "ui/SubsystemWidgets.h"

namespace pelorin::ui {

// The organizer window, the message pop-up and the welcome window; nothing without the
// organizer subsystem.
std::unique_ptr<SubsystemWidgets> MakeOrganizerWidgets(Suite& suite);

}  // namespace pelorin::ui
