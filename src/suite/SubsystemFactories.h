#pragma once

#include <memory>
#include <vector>

#include "core/AppletSubsystem.h"

namespace pelorin {

// Every applet subsystem of this build, made in the order of the factory list.
std::vector<std::unique_ptr<AppletSubsystem>> MakeSubsystems(SubsystemServices& services);

}  // namespace pelorin
