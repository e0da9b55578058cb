#pragma once

#include <string>

namespace pelorin::app {

// Why the suite has no display to show its windows on: DISPLAY and WAYLAND_DISPLAY are
// both unset or empty and Qt is given no platform of its own (QT_QPA_PLATFORM, such as
// "offscreen"). Empty when there is a display to try.
std::string MissingDisplay();

// While it lives, a fatal failure of Qt to open its platform (a display that does not
// answer, a plugin that cannot be loaded) ends the process with a message that says so
// and the exit status 1, instead of Qt's abort with a core dump. Meant to guard the
// construction of the application object only: later fatal errors stay aborts.
class PlatformStartGuard {
 public:
  PlatformStartGuard();
  ~PlatformStartGuard();
  PlatformStartGuard(const PlatformStartGuard&) = delete;
  PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;
};

}  // namespace pelorin::app
