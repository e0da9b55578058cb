#include "app/SuiteApplication.h"

#include <QEvent>

namespace pelorin::app {

SuiteApplication::SuiteApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool SuiteApplication::event(QEvent* event) {
  // Left to Qt, a quit would first try to close every window, which the strip refuses,
  // and then leave the event loop without the suite's shutdown.
  if (event->type() == QEvent::Quit && quitHandler_) {
    quitHandler_();
    return true;
  }
  return QApplication::event(event);
}

}  // namespace pelorin::app
