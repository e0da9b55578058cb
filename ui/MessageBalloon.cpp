#include "ui/MessageBalloon.h"

#include <QEvent>
#include <QPainterPath>
#include <QRegion>
#include <QToolTip>

namespace pelorin::ui {

MessageBalloon::MessageBalloon()
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  QFont font("Arial");
  font.setBold(true);
  font.setPixelSize(13);
  setFont(font);
  setWordWrap(true);
  setMaximumWidth(600);
  setMargin(10);
  setPalette(QToolTip::palette());
  setAutoFillBackground(true);
}

void MessageBalloon::ShowMessage(const QString& text) {
  Remove();
  setText(QString(text).replace("\r\n", "\n").replace('\r', '\n'));
  adjustSize();
  move(100, 100);
  show();
  grabMouse();
  grabKeyboard();
}

void MessageBalloon::Remove() {
  if (!isVisible()) return;
  releaseMouse();
  releaseKeyboard();
  hide();
}

void MessageBalloon::mousePressEvent(QMouseEvent*) {
  Remove();
}
void MessageBalloon::mouseReleaseEvent(QMouseEvent*) {
  Remove();
}
void MessageBalloon::keyPressEvent(QKeyEvent*) {
  Remove();
}

void MessageBalloon::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  QPainterPath path;
  path.addRoundedRect(rect(), 10, 10);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

bool MessageBalloon::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) Remove();
  return QLabel::event(event);
}

}  // namespace pelorin::ui
