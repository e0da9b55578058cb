#include "linux/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace pelorin::lnx {
namespace {

using ports::DialogAnswer;
using ports::DialogButtons;
using ports::DialogIcon;

QMessageBox::Icon IconOf(DialogIcon icon) {
  switch (icon) {
    case DialogIcon::Information:
      return QMessageBox::Information;
    case DialogIcon::Warning:
      return QMessageBox::Warning;
    case DialogIcon::Error:
      return QMessageBox::Critical;
    case DialogIcon::Question:
      return QMessageBox::Question;
    case DialogIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// The buttons of a set in the order they are shown; the first is the default one.
std::vector<QMessageBox::StandardButton> ButtonsOf(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::Ok:
      return {QMessageBox::Ok};
    case DialogButtons::OkCancel:
      return {QMessageBox::Ok, QMessageBox::Cancel};
    case DialogButtons::YesNo:
      return {QMessageBox::Yes, QMessageBox::No};
    case DialogButtons::YesNoCancel:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case DialogButtons::YesNoAll:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::NoToAll, QMessageBox::YesToAll};
  }
  return {QMessageBox::Ok};
}

// The answer that Escape (or closing the box) gives: Cancel where the set has it, else
// the negative answer, else Ok.
QMessageBox::StandardButton EscapeOf(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::OkCancel:
    case DialogButtons::YesNoCancel:
      return QMessageBox::Cancel;
    case DialogButtons::YesNo:
    case DialogButtons::YesNoAll:
      return QMessageBox::No;
    case DialogButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

DialogAnswer AnswerOf(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Cancel:
      return DialogAnswer::Cancel;
    case QMessageBox::Yes:
      return DialogAnswer::Yes;
    case QMessageBox::No:
      return DialogAnswer::No;
    case QMessageBox::NoToAll:
      return DialogAnswer::NoToAll;
    case QMessageBox::YesToAll:
      return DialogAnswer::YesToAll;
    default:
      return DialogAnswer::Ok;
  }
}

// "\r\n", "\r" and "\n" each break a line.
QString LinesOf(const std::string& text) {
  QString result = QString::fromStdString(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    QString masks = parts[i + 1];
    masks.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt reads the masks from the parentheses of the description; one that shows none
    // gets them added.
    filters << (description.contains(QLatin1Char('('))
                    ? description
                    : description + QStringLiteral(" (") + masks + QLatin1Char(')'));
  }
  return filters.join(QStringLiteral(";;"));
}

std::string QtDialogs::ChooseFileToOpen(const ports::OpenFileRequest& request) {
  QFileDialog dialog(nullptr, QString::fromStdString(request.title),
                     QString::fromStdString(request.initialFile), QtFileFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  // Above the suite's always-on-top windows, as the message boxes are.
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front().toStdString();
}

DialogAnswer QtDialogs::Show(const ports::MessageRequest& request) {
  QMessageBox box;
  box.setIcon(IconOf(request.icon));
  box.setWindowTitle(QString::fromStdString(request.caption));
  box.setTextFormat(Qt::PlainText);  // the suite's texts are never markup
  box.setText(LinesOf(request.text));
  const auto buttons = ButtonsOf(request.buttons);
  for (const auto button : buttons)
    box.addButton(button);
  box.setDefaultButton(buttons.front());
  box.setEscapeButton(EscapeOf(request.buttons));
  box.setWindowModality(Qt::ApplicationModal);
  // The suite keeps windows of its own above all others (the status strip, the busy
  // box, the password dialog): a box in the ordinary layer would lie beneath them,
  // its buttons out of reach. Every box therefore shares their layer and comes up
  // above them. Its frame offers only what a fixed box can do: move and close.
  box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  box.show();
  box.raise();
  if (request.foreground) box.activateWindow();
  box.exec();
  // Closing the box without a button (which Qt allows only where an escape button
  // exists) gives that button's answer.
  QAbstractButton* clicked = box.clickedButton();
  const auto standard = clicked != nullptr ? box.standardButton(clicked) : QMessageBox::NoButton;
  return AnswerOf(standard == QMessageBox::NoButton ? EscapeOf(request.buttons) : standard);
}

}  // namespace pelorin::lnx
