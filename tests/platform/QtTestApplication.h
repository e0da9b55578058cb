#pragma once

#include "support/ProcessEventsUntil.h"

namespace pelorin::testing {

// Creates the test program's QApplication on first use (offscreen, unless
// QT_QPA_PLATFORM says otherwise); a test that needs Qt calls it first.
void EnsureQtApplication();

}  // namespace pelorin::testing
