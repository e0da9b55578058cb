#include "app/StartRefusal.h"

#include "app/DisplayCheck.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace pelorin::app {
namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

int RefuseStart(int argc, char** argv, const std::string& reason) {
  std::cerr << "pelorin: " << reason << "\n";
  // Started from the desktop (autostart, a menu), standard error is seen by nobody.
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY")) {
    std::unique_ptr<QApplication> application;
    {
      const PlatformStartGuard guard;
      application = std::make_unique<QApplication>(argc, argv);
    }
    QMessageBox::critical(nullptr, "Pelorin Security System",
                          QString::fromStdString("Pelorin cannot start: " + reason + "."));
  }
  return 1;
}

}  // namespace pelorin::app
