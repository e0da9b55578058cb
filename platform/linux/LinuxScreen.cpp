#include "linux/LinuxScreen.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace pelorin::lnx {

int LinuxScreen::Width() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry().width() : 0;
}

int LinuxScreen::Height() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry().height() : 0;
}

ports::ScreenPoint LinuxScreen::GetCursorXY() const {
  const QPoint pos = QCursor::pos();
  return {pos.x(), pos.y()};
}

void LinuxScreen::SetCursorXY(ports::ScreenPoint point) {
  // A message box or question of the suite takes every input until it is answered:
  // the pointer is left free to reach its buttons (the password dialog's hold on it
  // resumes afterwards).
  if (QApplication::activeModalWidget() != nullptr) return;
  QCursor::setPos(point.x, point.y);
}

bool LinuxScreen::ConfinePointer(ports::ScreenArea area) {
  return confinement_.Confine(area);
}

void LinuxScreen::ReleasePointer() {
  confinement_.Release();
}

}  // namespace pelorin::lnx
