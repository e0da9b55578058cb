#include "ui/prefs/TF_ProfileWidget.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "prefs/TF_Profile.h"
#include "ui/ListRows.h"
#include "ui/ScreenCentre.h"
#include "ui/WidgetText.h"

namespace pelorin::ui {

TF_ProfileWidget::TF_ProfileWidget(TF_Profile& model)
    : QDialog(nullptr, Qt::Dialog),
      model_(model),
      list_(new QTreeWidget(this)),
      panelOrLabel_(new QStackedWidget(this)),
      panel_(new QWidget(panelOrLabel_)),
      name_(new QLineEdit(panel_)),
      path_(new QLineEdit(panel_)),
      pass_(new QLineEdit(panel_)),
      auto_(new QLineEdit(panel_)),
      type_(new QComboBox(panel_)),
      add_(new QPushButton(this)),
      apply_(new QPushButton("Apply", this)),
      delete_(new QPushButton(this)) {
  setWindowTitle("Pelorin profiles");

  list_->setColumnCount(1);
  list_->setHeaderLabels({"Profiles"});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);

  type_->addItems({"Particular access", "Full access"});
  auto* form = new QFormLayout(panel_);
  form->addRow("Name:", name_);
  form->addRow("Folder:", path_);
  form->addRow("Password:", pass_);
  form->addRow("Autoapply to user account:", auto_);
  form->addRow("Access level:", type_);

  auto* lowAccess = new QLabel(Text(TF_Profile::kLowAccessLabel), panelOrLabel_);
  lowAccess->setAlignment(Qt::AlignCenter);
  panelOrLabel_->addWidget(panel_);
  panelOrLabel_->addWidget(lowAccess);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(apply_);
  buttons->addWidget(delete_);
  auto* right = new QVBoxLayout;
  right->addWidget(panelOrLabel_);
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(right, 1);

  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { ForwardSelection(); });
  connect(name_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.ProName = text.toStdString(); });
  connect(path_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.ProPath = text.toStdString(); });
  connect(pass_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.ProPass = text.toStdString(); });
  connect(auto_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.ProAuto = text.toStdString(); });
  connect(type_, &QComboBox::activated, this, [this](int index) { model_.ProType = index; });
  connect(add_, &QPushButton::clicked, this, [this] { model_.AddBtnClick(); });
  connect(apply_, &QPushButton::clicked, this, [this] { model_.ApplyBtnClick(); });
  connect(delete_, &QPushButton::clicked, this, [this] { model_.DeleteBtnClick(); });
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
  Refresh();
}

void TF_ProfileWidget::ForwardSelection() {
  model_.ProListClick(SelectedRow(*list_));
}

void TF_ProfileWidget::ShowFields() {
  SetText(name_, model_.ProName);
  SetText(path_, model_.ProPath);
  SetText(pass_, model_.ProPass);
  SetText(auto_, model_.ProAuto);
  type_->setCurrentIndex(model_.ProType);
  if (model_.PasswordMasked()) {
    pass_->setEchoMode(QLineEdit::Password);
    pass_->setStyleSheet(QString("QLineEdit { lineedit-password-character: %1; }")
                             .arg(int(TF_Profile::kPasswordMask)));
  } else {
    pass_->setEchoMode(QLineEdit::Normal);
    pass_->setStyleSheet(QString());
  }
}

void TF_ProfileWidget::Refresh() {
  {
    const QSignalBlocker blocker(list_);
    const std::vector<std::string>& rows = model_.Rows();
    bool same = list_->topLevelItemCount() == static_cast<int>(rows.size());
    for (int row = 0; same && row < list_->topLevelItemCount(); ++row)
      same = list_->topLevelItem(row)->text(0) == Text(rows[static_cast<std::size_t>(row)]);
    if (!same) {
      list_->clear();
      for (const std::string& row : rows)
        list_->addTopLevelItem(new QTreeWidgetItem({Text(row)}));
    }
    ShowSelectedRow(*list_, model_.Selected());
    list_->setEnabled(model_.ListEnabled());
  }
  ShowFields();
  panelOrLabel_->setCurrentIndex(model_.PanelVisible() ? 0 : 1);
  type_->setEnabled(model_.ProTypeEnabled());
  auto_->setEnabled(model_.ProAutoEnabled());

  add_->setText(model_.AddStep() ? "OK" : "Add");
  add_->setToolTip(Text(model_.AddHint()));
  add_->setEnabled(model_.AddEnabled());
  apply_->setToolTip(Text(model_.ApplyHint()));
  apply_->setEnabled(model_.ApplyEnabled());
  delete_->setText(model_.AddStep() ? "Cancel" : "Delete");
  delete_->setToolTip(Text(model_.DeleteHint()));
  delete_->setEnabled(model_.DeleteEnabled());

  if (model_.Visible() && !isVisible()) {
    adjustSize();
    if (model_.Centered()) CentreOnScreen(*this);
    show();
    raise();
    activateWindow();
  } else if (!model_.Visible() && isVisible()) {
    hide();
  }
  if (model_.NameFocusRequests() != focusRequests_) {
    focusRequests_ = model_.NameFocusRequests();
    name_->setFocus();
  }
}

void TF_ProfileWidget::reject() {
  model_.FormClose();
}

}  // namespace pelorin::ui
