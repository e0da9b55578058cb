#include "platform/QtTestApplication.h"

#include <QApplication>
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

}  // namespace pelorin::testing
