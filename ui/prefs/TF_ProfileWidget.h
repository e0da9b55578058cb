#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>

#include "ports/Notification.h"

namespace pelorin {
class TF_Profile;
}

namespace pelorin::ui {

// The profile configuration window on screen: the list of profiles, the panel with
// the selected profile's details (or, in its place, the label of a low access level)
// and the buttons Add, Apply and Delete. Edits go into the model's fields, clicks to
// its handlers; the window follows the model after each of them.
class TF_ProfileWidget : public QDialog {
  Q_OBJECT
 public:
  explicit TF_ProfileWidget(TF_Profile& model);

  // Re-reads the model: list, selection, fields, enabled states, faces and visibility.
  void Refresh();

 protected:
  void reject() override;  // Escape and the window's close button

 private:
  void ShowFields();
  void ForwardSelection();

  TF_Profile& model_;
  ports::Subscription modelChanged_;
  QTreeWidget* list_;
  QStackedWidget* panelOrLabel_;
  QWidget* panel_;
  QLineEdit* name_;
  QLineEdit* path_;
  QLineEdit* pass_;
  QLineEdit* auto_;
  QComboBox* type_;
  QPushButton* add_;
  QPushButton* apply_;
  QPushButton* delete_;
  int focusRequests_ = 0;
};

}  // namespace pelorin::ui
