#include "ui/AppletWindow.h"

#include <QCloseEvent>
#include <QMoveEvent>
#include <utility>

#include "ui/ScreenCentre.h"

namespace pelorin::ui {

AppletWindow::AppletWindow(std::function<void(WindowPlace)> moved, std::function<void()> closed)
    : QWidget(nullptr, Qt::Window), moved_(std::move(moved)), closed_(std::move(closed)) {}

void AppletWindow::FollowModel(bool visible, bool centered, WindowPlace place) {
  if (visible && !isVisible()) {
    adjustSize();
    placing_ = true;
    if (centered) {
      CentreOnScreen(*this);
    } else {
      move(place.x, place.y);
    }
    show();
    placing_ = false;
    raise();
    activateWindow();
  } else if (!visible && isVisible()) {
    hide();
  }
}

void AppletWindow::closeEvent(QCloseEvent* event) {
  event->ignore();  // the window is hidden, never destroyed
  closed_();
}

void AppletWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (!placing_ && isVisible()) moved_({pos().x(), pos().y()});
}

}  // namespace pelorin::ui
