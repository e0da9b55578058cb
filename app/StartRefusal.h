#pragma once

#include <string>

namespace pelorin::app {

// Tells the user why the suite does not start: on standard error and, when there is a
// display to show it on, in a message box. Returns the exit status for main (1).
int RefuseStart(int argc, char** argv, const std::string& reason);

}  // namespace pelorin::app
