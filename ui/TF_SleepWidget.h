#pragma once

#include <QDialog>
#include <QLabel>

#include "ports/Notification.h"

namespace pelorin {
class TF_Sleep;
}

namespace pelorin::ui {

// The "Sleep mode detected" window: a tool window without system buttons that tells
// that the suite waits for the computer to wake up, and later that it has; "OK" closes
// it.
class TF_SleepWidget : public QDialog {
  Q_OBJECT
 public:
  explicit TF_SleepWidget(TF_Sleep& model);

  // Re-reads the model: shown or hidden, the state line.
  void Refresh();

 protected:
  void reject() override;  // Escape closes it as "OK" does

 private:
  TF_Sleep& model_;
  ports::Subscription modelChanged_;
  QLabel* curMode_;
};

}  // namespace pelorin::ui
