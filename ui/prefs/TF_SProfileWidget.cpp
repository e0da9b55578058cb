#include "ui/prefs/TF_SProfileWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "prefs/TF_SProfile.h"
#include "ui/DialogStacking.h"
#include "ui/ScreenCentre.h"

namespace pelorin::ui {

TF_SProfileWidget::TF_SProfileWidget(TF_SProfile& model)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      model_(model),
      list_(new QListWidget(this)),
      cancel_(new QPushButton("Cancel", this)) {
  setWindowTitle("Welcome to Pelorin");

  auto* logo = new QLabel("Pelorin", this);
  QFont logoFont = logo->font();
  logoFont.setPointSize(logoFont.pointSize() * 2);
  logoFont.setBold(true);
  logo->setFont(logoFont);
  auto* startup = new QLabel("startup", this);
  startup->setAlignment(Qt::AlignRight | Qt::AlignBottom);
  auto* header = new QHBoxLayout;
  header->addWidget(logo);
  header->addWidget(startup);

  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed box: nothing to maximise
  layout->addLayout(header);
  layout->addWidget(new QLabel("Welcome  to Pelorin", this));
  layout->addWidget(new QLabel("Choose the profile:", this));
  layout->addWidget(list_);
  layout->addLayout(buttons);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { model_.Select(row); });
  connect(ok, &QPushButton::clicked, this, [this] { model_.OKBtnClick(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { model_.CancelBtnClick(); });
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
}

void TF_SProfileWidget::Refresh() {
  {
    const QSignalBlocker blocker(list_);
    QStringList names;
    for (const std::string& name : model_.Names())
      names << QString::fromStdString(name);
    QStringList shown;
    for (int row = 0; row < list_->count(); ++row)
      shown << list_->item(row)->text();
    if (shown != names) {
      list_->clear();
      list_->addItems(names);
    }
    list_->setCurrentRow(model_.Selected());
  }
  cancel_->setEnabled(model_.CancelEnabled());
  if (model_.Visible() && !isVisible()) {
    adjustSize();
    CentreOnScreen(*this);
    show();
    raise();
    KeepDialogsOnTop();
    activateWindow();
    list_->setFocus();
  } else if (!model_.Visible() && isVisible()) {
    hide();
  }
}

void TF_SProfileWidget::reject() {
  model_.CloseButtonClick();
}

}  // namespace pelorin::ui
