#include "ui/TF_PassWidget.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/TF_Pass.h"
#include "ui/DialogStacking.h"
#include "ui/ScreenCentre.h"

namespace pelorin::ui {

TF_PassWidget::TF_PassWidget(TF_Pass& model)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      model_(model),
      text_(new QLabel(this)),
      password_(new QLineEdit(this)),
      cancel_(new QPushButton("Cancel", this)) {
  setWindowTitle("Security System");
  auto* header =
      new QLabel("<b>PASSWORD PROTECTION</b><br>Object is protected with password", this);
  header->setAutoFillBackground(true);
  QPalette white = header->palette();
  white.setColor(QPalette::Window, Qt::white);
  header->setPalette(white);
  header->setMargin(8);

  password_->setEchoMode(QLineEdit::Password);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Password: ", this));
  row->addWidget(password_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed box: nothing to maximise
  layout->addWidget(header);
  layout->addWidget(text_);
  layout->addLayout(row);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this,
          [this] { model_.OkClick(password_->text().toStdString()); });
  connect(password_, &QLineEdit::returnPressed, this,
          [this] { model_.OkClick(password_->text().toStdString()); });
  connect(cancel_, &QPushButton::clicked, this, [this] { model_.CancelClick(); });
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
}

void TF_PassWidget::Refresh() {
  text_->setText(QString::fromStdString(model_.Text()));
  cancel_->setEnabled(model_.CancelEnabled());
  if (model_.Visible() && !isVisible()) {
    password_->clear();
    adjustSize();
    CentreOnScreen(*this);
    show();
    ReportPlace();
    raise();
    KeepDialogsOnTop();
    activateWindow();
    password_->setFocus();
  } else if (!model_.Visible() && isVisible()) {
    hide();
  }
}

void TF_PassWidget::ReportPlace() {
  const QRect frame = frameGeometry();
  model_.SetDialogRect(frame.x(), frame.y(), frame.width(), frame.height());
}

void TF_PassWidget::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  ReportPlace();
}

void TF_PassWidget::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ReportPlace();
}

void TF_PassWidget::reject() {
  model_.EscapePressed();
}

}  // namespace pelorin::ui
