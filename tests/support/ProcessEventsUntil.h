#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <functional>

namespace pelorin::testing {

// Runs the Qt event loop until `done` holds or `maxMs` have passed; returns done().
// The bound only keeps a broken test from hanging: it is never a timing check. For a
// condition that another thread or process makes true without the event loop, see
// Eventually.
inline bool ProcessEventsUntil(const std::function<bool()>& done, int maxMs = 10000) {
  const QDeadlineTimer deadline(maxMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace pelorin::testing
