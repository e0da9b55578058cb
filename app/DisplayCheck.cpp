#include "app/DisplayCheck.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace pelorin::app {
namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

QtMessageHandler previousHandler = nullptr;

void EndOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (previousHandler != nullptr) previousHandler(type, context, message);
    return;
  }
  // Qt's own text speaks of reinstalling; the warnings before it name the real cause.
  if (Set("DISPLAY")) {
    std::fprintf(stderr,
                 "pelorin: the suite cannot show its windows: Qt could not open the display "
                 "\"%s\" (its messages above say why)\n",
                 std::getenv("DISPLAY"));
  } else {
    std::fprintf(stderr,
                 "pelorin: the suite cannot show its windows: Qt could not open its platform "
                 "(its messages above say why); the suite needs X11 or XWayland: set DISPLAY\n");
  }
  std::fflush(stderr);
  // Nothing of the suite runs yet that could save anything; the lock goes with the process.
  std::_Exit(1);
}

}  // namespace

std::string MissingDisplay() {
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM")) return {};
  return "there is no display to show the suite on: DISPLAY is not set (start it in a "
         "desktop session, or name a display with DISPLAY=:N)";
}

PlatformStartGuard::PlatformStartGuard() {
  previousHandler = qInstallMessageHandler(EndOnFatal);
}

PlatformStartGuard::~PlatformStartGuard() {
  qInstallMessageHandler(previousHandler);
  previousHandler = nullptr;
}

}  // namespace pelorin::app
