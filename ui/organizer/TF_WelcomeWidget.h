#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "ports/Notification.h"

namespace pelorin {
class TF_Welcome;
}

namespace pelorin::ui {

// The welcome window on screen: borderless over the whole screen on a gradient, the
// greeting, the date line, the clock, today's messages, and the "OK" and "Organizer"
// labels; a button off screen holds the keyboard focus, and Enter or Esc closes.
class TF_WelcomeWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TF_WelcomeWidget(TF_Welcome& model);

  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Layout();

  TF_Welcome& model_;
  ports::Subscription modelChanged_;
  QLabel* greeting_;
  QLabel* name_;
  QLabel* date_;
  QLabel* weekday_;
  QLabel* clock_;
  QPlainTextEdit* memo_;
  QLabel* ok_;
  QLabel* organizer_;
  QPushButton* button1_;
  int focusRequests_ = 0;
};

}  // namespace pelorin::ui
