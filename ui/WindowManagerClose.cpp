#include "ui/WindowManagerClose.h"

#include <QEvent>

namespace pelorin::ui {

namespace {

class CloseRefusal : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Close) return false;
    event->ignore();
    return true;
  }
};

}  // namespace

void RefuseWindowManagerClose(QWidget& window) {
  window.installEventFilter(new CloseRefusal(&window));
}

}  // namespace pelorin::ui
