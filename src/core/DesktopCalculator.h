#pragma once

#include "ports/Dialogs.h"
#include "ports/Shell.h"

namespace pelorin {

// The Calculator item: starts the desktop's calculator. When none of the calculators
// that the desktop may have is installed, or the one found does not start, a message
// says so (naming what was looked for) instead of the click doing nothing.
void OpenDesktopCalculator(ports::Shell& shell, ports::Dialogs& dialogs);

}  // namespace pelorin
