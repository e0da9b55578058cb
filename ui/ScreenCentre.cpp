#include "ui/ScreenCentre.h"

#include <QGuiApplication>
#include <QScreen>

namespace pelorin::ui {

void CentreOnScreen(QWidget& window) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    window.move(screen->geometry().center() - window.rect().center());
  }
}

}  // namespace pelorin::ui
