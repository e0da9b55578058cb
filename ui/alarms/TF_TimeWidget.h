#pragma once

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>
#include <array>

#include "ports/Notification.h"
#include "ui/AppletWindow.h"

namespace pelorin {
class TF_Time;
}

namespace pelorin::ui {

// Duzuzoze on screen: the clock with its AM and PM labels (a click switches the
// mode), the stopwatch with its three buttons and the two countdowns with their start,
// stop and arrow buttons.
class TF_TimeWidget : public AppletWindow {
  Q_OBJECT
 public:
  explicit TF_TimeWidget(TF_Time& model);

  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* MakeCountdown(int n);

  TF_Time& model_;
  ports::Subscription modelChanged_;
  QLabel* clock_;
  QLabel* am_;
  QLabel* pm_;
  QLabel* stopwatch_;
  std::array<QLabel*, 2> countdowns_{};
};

}  // namespace pelorin::ui
