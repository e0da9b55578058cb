#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QString>
#include <string>

namespace pelorin::ui {

// The suite's texts (UTF-8) in Qt's widgets.
inline QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

// Sets an edit box's text only when it differs, so that the cursor stays where it is.
inline void SetText(QLineEdit* edit, const std::string& text) {
  const QString value = Text(text);
  if (edit->text() != value) edit->setText(value);
}

// Checks or clears a box or radio button as the model says, without telling the model
// back through the button's signals.
inline void SetChecked(QAbstractButton* box, bool on) {
  const QSignalBlocker blocker(box);
  box->setChecked(on);
}

}  // namespace pelorin::ui
