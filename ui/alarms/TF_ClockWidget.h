#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QWidget>
#include <array>

#include "ports/Notification.h"
#include "ui/AppletWindow.h"

namespace pelorin {
class TF_Clock;
}

namespace pelorin::ui {

// The reminder window on screen: the alarm list with its check boxes, the editor of
// one alarm, the sound controls, the buttons Add, Apply and Delete and the clock label.
// Edits go into the model's editor, clicks to its handlers; the window follows the
// model after each of them.
class TF_ClockWidget : public AppletWindow {
  Q_OBJECT
 public:
  explicit TF_ClockWidget(TF_Clock& model);

  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowList();
  void ShowEditor();
  void ForwardSelection();

  TF_Clock& model_;
  ports::Subscription modelChanged_;
  QTreeWidget* list_;
  QLineEdit* title_;
  QLineEdit* hour_;
  QLineEdit* minute_;
  std::array<QCheckBox*, 7> days_{};
  QCheckBox* except_;
  QRadioButton* standardSound_;
  QRadioButton* ownSound_;
  QLineEdit* soundFile_;
  QPushButton* browse_;
  QCheckBox* loop_;
  QPushButton* play_;
  QPushButton* stop_;
  QPushButton* add_;
  QPushButton* apply_;
  QPushButton* delete_;
  QLabel* clock_;
  int focusRequests_ = 0;
};

}  // namespace pelorin::ui
