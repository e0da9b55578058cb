#include "ui/alarms/TF_ClockWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "alarms/TF_Clock.h"
#include "ui/ListRows.h"
#include "ui/WidgetText.h"

namespace pelorin::ui {
namespace {

constexpr const char* kDayCaptions[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

}  // namespace

TF_ClockWidget::TF_ClockWidget(TF_Clock& model)
    : AppletWindow([&model](WindowPlace place) { model.Moved(place); },
                   [&model] { model.FormClose(); }),
      model_(model),
      list_(new QTreeWidget(this)),
      title_(new QLineEdit(this)),
      hour_(new QLineEdit(this)),
      minute_(new QLineEdit(this)),
      except_(new QCheckBox("Except", this)),
      standardSound_(new QRadioButton("Standard sound", this)),
      ownSound_(new QRadioButton("Sound file:", this)),
      soundFile_(new QLineEdit(this)),
      browse_(new QPushButton("...", this)),
      loop_(new QCheckBox("Loop", this)),
      play_(new QPushButton("Play", this)),
      stop_(new QPushButton("Stop", this)),
      add_(new QPushButton(this)),
      apply_(new QPushButton("Apply", this)),
      delete_(new QPushButton(this)),
      clock_(new QLabel(this)) {
  setWindowTitle(TF_Clock::kCaption);

  list_->setColumnCount(3);
  list_->setHeaderLabels({"Title", "Time", "Day of week"});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->installEventFilter(this);

  hour_->setMaxLength(2);
  minute_->setMaxLength(2);
  hour_->setFixedWidth(32);
  minute_->setFixedWidth(32);
  browse_->setFixedWidth(28);
  apply_->setToolTip("Apply");
  add_->setToolTip("Add");
  QFont clockFont = clock_->font();
  clockFont.setPointSize(clockFont.pointSize() * 2);
  clockFont.setBold(true);
  clock_->setFont(clockFont);
  clock_->setAlignment(Qt::AlignCenter);

  auto* time = new QHBoxLayout;
  time->addWidget(new QLabel("Time:", this));
  time->addWidget(hour_);
  time->addWidget(new QLabel(":", this));
  time->addWidget(minute_);
  time->addStretch();
  auto* days = new QHBoxLayout;
  for (std::size_t day = 0; day < days_.size(); ++day) {
    days_[day] = new QCheckBox(kDayCaptions[day], this);
    days->addWidget(days_[day]);
  }
  days->addWidget(except_);
  auto* soundFile = new QHBoxLayout;
  soundFile->addWidget(ownSound_);
  soundFile->addWidget(soundFile_, 1);
  soundFile->addWidget(browse_);
  auto* soundButtons = new QHBoxLayout;
  soundButtons->addWidget(standardSound_);
  soundButtons->addWidget(loop_);
  soundButtons->addStretch();
  soundButtons->addWidget(play_);
  soundButtons->addWidget(stop_);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(apply_);
  buttons->addWidget(delete_);
  buttons->addStretch();
  buttons->addWidget(clock_);
  auto* top = new QHBoxLayout;
  top->addWidget(list_, 1);
  top->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(new QLabel("Title:", this));
  titleRow->addWidget(title_, 1);
  layout->addLayout(titleRow);
  layout->addLayout(time);
  layout->addLayout(days);
  layout->addLayout(soundButtons);
  layout->addLayout(soundFile);

  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { ForwardSelection(); });
  connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (column != 0) return;
    const int row = list_->indexOfTopLevelItem(item);
    model_.SetRowChecked(row, item->checkState(0) == Qt::Checked);
    model_.RemListChange(row);
  });
  connect(title_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.editor.Caption = text.toStdString(); });
  connect(hour_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.editor.Hour = text.toStdString(); });
  connect(minute_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.editor.Min = text.toStdString(); });
  connect(hour_, &QLineEdit::editingFinished, this, [this] { model_.RemHourExit(); });
  connect(minute_, &QLineEdit::editingFinished, this, [this] { model_.RemMinExit(); });
  for (std::size_t day = 0; day < days_.size(); ++day) {
    connect(days_[day], &QCheckBox::toggled, this,
            [this, day](bool on) { model_.editor.Days[day] = on; });
  }
  connect(except_, &QCheckBox::toggled, this, [this](bool on) { model_.editor.DayE = on; });
  connect(standardSound_, &QRadioButton::toggled, this, [this](bool on) {
    model_.editor.SndStd = on;
    model_.editor.SndFile = !on;
  });
  connect(soundFile_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.editor.SndFilename = text.toStdString(); });
  connect(loop_, &QCheckBox::toggled, this, [this](bool on) { model_.editor.SndLoop = on; });
  connect(browse_, &QPushButton::clicked, this, [this] { model_.SndBrowseClick(); });
  connect(play_, &QPushButton::clicked, this, [this] { model_.SndPlayClick(); });
  connect(stop_, &QPushButton::clicked, this, [this] { model_.SndStopClick(); });
  connect(add_, &QPushButton::clicked, this, [this] { model_.AddBtnClick(); });
  connect(apply_, &QPushButton::clicked, this, [this] { model_.ApplyBtnClick(); });
  connect(delete_, &QPushButton::clicked, this, [this] { model_.DelBtnClick(); });
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
}

void TF_ClockWidget::ForwardSelection() {
  model_.RemListClick(SelectedRow(*list_));
}

void TF_ClockWidget::ShowList() {
  const QSignalBlocker blocker(list_);
  const std::vector<TF_Clock::Row>& rows = model_.Rows();
  KeepRows(*list_, static_cast<int>(rows.size()), Qt::ItemIsUserCheckable);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(i));
    const TF_Clock::Row& row = rows[i];
    item->setText(0, Text(row.title));
    item->setText(1, Text(row.time));
    item->setText(2, Text(row.days));
    item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
  }
  ShowSelectedRow(*list_, model_.Selected());
  list_->setEnabled(model_.ListEnabled());
}

void TF_ClockWidget::ShowEditor() {
  const AlarmEntry& e = model_.editor;
  SetText(title_, e.Caption);
  SetText(hour_, e.Hour);
  SetText(minute_, e.Min);
  for (std::size_t day = 0; day < days_.size(); ++day)
    SetChecked(days_[day], e.Days[day]);
  SetChecked(except_, e.DayE);
  SetChecked(standardSound_, e.SndStd);
  SetChecked(ownSound_, !e.SndStd);
  SetText(soundFile_, e.SndFilename);
  SetChecked(loop_, e.SndLoop);
}

void TF_ClockWidget::Refresh() {
  ShowList();
  ShowEditor();
  clock_->setText(Text(model_.ClockText()));
  add_->setText(model_.AddStep() ? "OK" : "Add");
  apply_->setEnabled(model_.ApplyEnabled());
  delete_->setText(model_.AddStep() ? "Cancel" : "Delete");
  delete_->setToolTip(Text(model_.DeleteHint()));

  FollowModel(model_.Visible(), model_.Centered(), model_.Place());
  if (model_.TitleFocusRequests() != focusRequests_) {
    focusRequests_ = model_.TitleFocusRequests();
    title_->setFocus();
    title_->selectAll();
  }
}

bool TF_ClockWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyRelease) model_.RemListKeyUp();
  return QWidget::eventFilter(watched, event);
}

}  // namespace pelorin::ui
