#pragma once

#include <functional>

namespace pelorin::testing {

// Creates the test program's QApplication on first use (offscreen, unless
// QT_QPA_PLATFORM says otherwise); a test that needs Qt calls it first.
void EnsureQtApplication();

// Runs the Qt event loop until `done` holds or `maxMs` have passed; returns done().
// The bound only keeps a broken test from hanging: it is never a timing check.
bool ProcessEventsUntil(const std::function<bool()>& done, int maxMs = 10000);

}  // namespace pelorin::testing
