#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

#include "ports/Notification.h"

namespace pelorin {
class TF_SProfile;
}

namespace pelorin::ui {

// The profile selection window on screen: the product's logo, the list of profiles
// and OK and Cancel, all handed to the model, which decides what happens.
class TF_SProfileWidget : public QDialog {
  Q_OBJECT
 public:
  explicit TF_SProfileWidget(TF_SProfile& model);

  // Re-reads the model: the names, the selection, Cancel enabled, shown or hidden.
  void Refresh();

 protected:
  void reject() override;  // Escape and the window's close button

 private:
  TF_SProfile& model_;
  ports::Subscription modelChanged_;
  QListWidget* list_;
  QPushButton* cancel_;
};

}  // namespace pelorin::ui
