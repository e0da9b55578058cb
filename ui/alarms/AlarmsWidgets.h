#pragma once

#include <memory>

#include "ui/SubsystemWidgets.h"

namespace pelorin::ui {

// The reminder and Duzuzoze; nothing without the alarms subsystem.
std::unique_ptr<SubsystemWidgets> MakeAlarmsWidgets(Suite& suite);

}  // namespace pelorin::ui
