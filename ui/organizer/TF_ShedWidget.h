#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QWidget>

#include "ports/Notification.h"
#include "ui/AppletWindow.h"

#include "organizer/TF_Shed.h"

namespace pelorin::ui {

// The organizer window on screen: the message list with its state images and context
// menu, the "Specified" date filter, the editor of one message (title, text, time,
// date, repetition, limits, sound) and the buttons Add, Apply and Delete. Edits go into
// the model's editor, clicks to its handlers; the window follows the model.
class TF_ShedWidget : public AppletWindow {
  Q_OBJECT
 public:
  explicit TF_ShedWidget(TF_Shed& model);

  void Refresh();

 private:
  using Editor = TF_Shed::Editor;
  // A two-digit box: its text goes into `field`, and leaving it runs `exit`.
  QLineEdit* TwoDigits(void (TF_Shed::*exit)(), std::string Editor::*field);
  void ShowList();
  void ShowEditor();
  void ShowMenu(const QPoint& at);

  TF_Shed& model_;
  ports::Subscription modelChanged_;
  QTreeWidget* list_;
  QCheckBox* specified_;
  QLineEdit* todayDate_;
  QLabel* signal_;
  QLineEdit* title_;
  QPlainTextEdit* memo_;
  QCheckBox* timeE_;
  QLineEdit* hour_;
  QLineEdit* minute_;
  QCheckBox* dateE_;
  QLineEdit* day_;
  QLineEdit* month_;
  QCheckBox* repeatTimeE_;
  QSpinBox* repeatTimeN_;
  QComboBox* repeatTimeUnit_;
  QCheckBox* repeatDaysE_;
  QSpinBox* repeatDaysN_;
  QCheckBox* periodT_;
  QLineEdit* periodHour_;
  QLineEdit* periodMin_;
  QCheckBox* periodE_;
  QLineEdit* periodDay_;
  QLineEdit* periodMonth_;
  QRadioButton* sndOff_;
  QRadioButton* sndStd_;
  QRadioButton* sndFile_;
  QCheckBox* sndLoop_;
  QLineEdit* sndFilename_;
  QPushButton* add_;
  QPushButton* apply_;
  QPushButton* delete_;
  int focusRequests_ = 0;
  bool refreshing_ = false;
};

}  // namespace pelorin::ui
