#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "ports/Notification.h"

namespace pelorin {
class TF_ShedShow;
}

namespace pelorin::ui {

// The organizer's message pop-up on screen: borderless, at the top right corner, above
// other windows and shown without taking the focus from what the user is doing.
class TF_ShedShowWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TF_ShedShowWidget(TF_ShedShow& model);

  void Refresh();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TF_ShedShow& model_;
  ports::Subscription modelChanged_;
  QComboBox* mesList_;
  QPlainTextEdit* mesMemo_;
  QComboBox* statusList_;
  QLabel* nums_;
  int focusRequests_ = 0;
};

}  // namespace pelorin::ui
