#include "platform/QtTestApplication.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <cstdlib>

namespace pelorin::testing {

void EnsureQtApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  static int argc = 1;
  static char name[] = "test_platform";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives until the program ends
}

bool ProcessEventsUntil(const std::function<bool()>& done, int maxMs) {
  const QDeadlineTimer deadline(maxMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace pelorin::testing
