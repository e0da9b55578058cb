#include "ui/DialogStacking.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <vector>

namespace pelorin::ui {

namespace {

// Only the windows that share the strip's always-on-top layer: raising a dialog of the
// ordinary layer would put it above the program the user is working in.
bool IsOpenTopmostDialog(const QWidget& window) {
  return window.isWindow() && window.isVisible() &&
         window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
         (qobject_cast<const QDialog*>(&window) != nullptr || window.windowType() == Qt::Dialog);
}

}  // namespace

void KeepDialogsOnTop() {
  QWidget* answering = QApplication::activeModalWidget();
  std::vector<QWidget*> modal;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window == answering || !IsOpenTopmostDialog(*window)) continue;
    if (window->isModal()) {
      modal.push_back(window);
    } else {
      window->raise();
    }
  }
  for (QWidget* window : modal)
    window->raise();
  if (answering != nullptr && answering->isVisible()) answering->raise();
}

}  // namespace pelorin::ui
