#pragma once

#include <QLineEdit>
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

}  // namespace pelorin::ui
