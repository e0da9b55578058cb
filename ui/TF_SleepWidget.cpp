#include "ui/TF_SleepWidget.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/TF_Sleep.h"
#include "ui/DialogStacking.h"
#include "ui/ScreenCentre.h"

namespace pelorin::ui {

namespace {

constexpr int kSymbolSize = 64;

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TF_SleepWidget::TF_SleepWidget(TF_Sleep& model)
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      model_(model),
      curMode_(new QLabel(this)) {
  setWindowTitle(Text(TF_Sleep::kCaption));
  QFont bold = curMode_->font();
  bold.setBold(true);
  curMode_->setFont(bold);
  curMode_->setAlignment(Qt::AlignCenter);

  auto* symbol = new QLabel(this);
  symbol->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kSymbolSize));
  auto* paused = new QLabel(Text(TF_Sleep::kPausedText), this);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { model_.OKBtnClick(); });

  auto* texts = new QVBoxLayout;
  texts->addWidget(curMode_);
  texts->addWidget(paused);
  auto* row = new QHBoxLayout;
  row->addWidget(symbol);
  row->addLayout(texts);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed box: nothing to maximise
  layout->addLayout(row);
  layout->addLayout(buttons);
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
}

void TF_SleepWidget::Refresh() {
  curMode_->setText(QString::fromStdString(model_.CurMode()));
  if (model_.Visible() && !isVisible()) {
    adjustSize();
    CentreOnScreen(*this);
    show();
    raise();
    KeepDialogsOnTop();
  } else if (!model_.Visible() && isVisible()) {
    hide();
  }
}

void TF_SleepWidget::reject() {
  model_.OKBtnClick();
}

}  // namespace pelorin::ui
