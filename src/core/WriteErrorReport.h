#pragma once

#include <functional>

#include "ports/Dialogs.h"

namespace pelorin {

// Runs a step that writes settings files. When the system refuses a write, the user is
// told so ("Unable to write to <file>") and the result is false, so that the caller
// can go on or stop as its step requires; nothing else escapes to the event loop.
bool ReportWriteErrors(ports::Dialogs& dialogs, const std::function<void()>& step);

}  // namespace pelorin
