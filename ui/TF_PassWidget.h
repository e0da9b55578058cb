#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ports/Notification.h"

namespace pelorin {
class TF_Pass;
}

namespace pelorin::ui {

// The password dialog on screen: it shows the request's text, takes the password
// (every character shown as a filled circle) and hands OK, Cancel and Escape to the
// model, which decides what happens.
class TF_PassWidget : public QDialog {
  Q_OBJECT
 public:
  explicit TF_PassWidget(TF_Pass& model);

  // Re-reads the model: shown or hidden, text, Cancel enabled.
  void Refresh();

 protected:
  void reject() override;  // Escape and the window's close button
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Tells the model where the dialog stands, for holding the pointer inside it.
  void ReportPlace();

  TF_Pass& model_;
  ports::Subscription modelChanged_;
  QLabel* text_;
  QLineEdit* password_;
  QPushButton* cancel_;
};

}  // namespace pelorin::ui
