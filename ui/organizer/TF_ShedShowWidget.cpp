#include "ui/organizer/TF_ShedShowWidget.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "organizer/TF_ShedShow.h"

namespace pelorin::ui {

TF_ShedShowWidget::TF_ShedShowWidget(TF_ShedShow& model)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      model_(model),
      mesList_(new QComboBox(this)),
      mesMemo_(new QPlainTextEdit(this)),
      statusList_(new QComboBox(this)),
      nums_(new QLabel(this)) {
  setWindowTitle(QString::fromUtf8(TF_ShedShow::kCaption));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedWidth(TF_ShedShow::kDefaultWidth);
  setStyleSheet("TF_ShedShowWidget { border: 1px solid palette(dark); }");

  auto* header = new QLabel(QString::fromUtf8(TF_ShedShow::kHeader), this);
  QFont bold = header->font();
  bold.setBold(true);
  header->setFont(bold);
  header->setStyleSheet("background: palette(highlight); color: palette(highlighted-text);");
  mesMemo_->setReadOnly(true);
  mesMemo_->installEventFilter(this);
  for (std::string_view item : TF_ShedShow::kStatusItems)
    statusList_->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
  auto* back = new QPushButton("<", this);
  auto* next = new QPushButton(">", this);
  auto* ok = new QPushButton("OK", this);
  back->setFixedWidth(32);
  next->setFixedWidth(32);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(nums_);
  buttons->addWidget(next);
  buttons->addStretch();
  buttons->addWidget(statusList_);
  buttons->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(header);
  layout->addWidget(mesList_);
  layout->addWidget(mesMemo_, 1);
  layout->addLayout(buttons);

  connect(mesList_, &QComboBox::activated, this, [this](int line) { model_.MesListClick(line); });
  connect(statusList_, &QComboBox::activated, this, [this](int status) {
    model_.StatusListChange(static_cast<TF_ShedShow::Status>(status));
  });
  connect(back, &QPushButton::clicked, this, [this] { model_.BackBtnClick(); });
  connect(next, &QPushButton::clicked, this, [this] { model_.NextBtnClick(); });
  connect(ok, &QPushButton::clicked, this, [this] { model_.OKBtnClick(); });
  // Enter and Esc answer as OK does.
  for (const QKeySequence& key :
       {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Escape)}) {
    connect(new QShortcut(key, this), &QShortcut::activated, this, [this] { model_.OKBtnClick(); });
  }
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
  resize(TF_ShedShow::kDefaultWidth, 220);
}

void TF_ShedShowWidget::Refresh() {
  {
    const QSignalBlocker blocker(mesList_);
    const std::vector<std::string>& lines = model_.MesList();
    if (mesList_->count() != static_cast<int>(lines.size())) {
      mesList_->clear();
      for (const std::string& line : lines)
        mesList_->addItem(QString::fromStdString(line));
    }
    mesList_->setCurrentIndex(model_.Selected());
  }
  QStringList memo;
  for (const std::string& line : model_.MesMemo())
    memo << QString::fromStdString(line);
  const QString text = memo.join('\n');
  if (mesMemo_->toPlainText() != text) mesMemo_->setPlainText(text);
  {
    const QSignalBlocker blocker(statusList_);
    statusList_->setCurrentIndex(static_cast<int>(model_.StatusShown()));
  }
  nums_->setText(QString::fromStdString(model_.Nums()));
  if (model_.Visible()) {
    if (pos() != QPoint(model_.Left(), model_.Top())) move(model_.Left(), model_.Top());
    if (!isVisible()) show();
    raise();
  } else if (isVisible()) {
    hide();
  }
  if (model_.ListFocusRequests() != focusRequests_) {
    focusRequests_ = model_.ListFocusRequests();
    mesList_->setFocus();
  }
}

void TF_ShedShowWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  model_.Resized(width());
}

void TF_ShedShowWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (isVisible()) model_.Moved(pos().x(), pos().y());
}

bool TF_ShedShowWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mesMemo_ && event->type() == QEvent::FocusIn) model_.MesMemoEnter();
  return QWidget::eventFilter(watched, event);
}

}  // namespace pelorin::ui
