#include "ui/organizer/TF_ShedWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "organizer/TF_Shed.h"
#include "ui/ListRows.h"
#include "ui/WidgetText.h"

namespace pelorin::ui {
namespace {

// The four state images: not due, completed, due, switched off.
QIcon StateImage(int image) {
  static const QColor kColours[] = {QColor(150, 150, 150), QColor(60, 150, 60),
                                    QColor(230, 160, 20), QColor(200, 60, 60)};
  QPixmap picture(14, 14);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(kColours[image >= 0 && image < 4 ? image : 0]);
  painter.setPen(Qt::NoPen);
  if (image == TF_Shed::kCompleted) {
    painter.drawRect(2, 2, 10, 10);
  } else {
    painter.drawEllipse(2, 2, 10, 10);
  }
  return QIcon(picture);
}

}  // namespace

TF_ShedWidget::TF_ShedWidget(TF_Shed& model)
    : AppletWindow([&model](WindowPlace place) { model.Moved(place); },
                   [&model] { model.FormClose(); }),
      model_(model),
      list_(new QTreeWidget(this)),
      specified_(new QCheckBox("Specified", this)),
      todayDate_(new QLineEdit(this)),
      signal_(new QLabel(this)),
      title_(new QLineEdit(this)),
      memo_(new QPlainTextEdit(this)),
      timeE_(new QCheckBox("Time:", this)),
      dateE_(new QCheckBox("Date:", this)),
      repeatTimeE_(new QCheckBox("Repeat every", this)),
      repeatTimeN_(new QSpinBox(this)),
      repeatTimeUnit_(new QComboBox(this)),
      repeatDaysE_(new QCheckBox("Repeat every", this)),
      repeatDaysN_(new QSpinBox(this)),
      periodT_(new QCheckBox("Repeat until", this)),
      periodE_(new QCheckBox("Repeat up to", this)),
      sndOff_(new QRadioButton("No sound", this)),
      sndStd_(new QRadioButton("Standard ring", this)),
      sndFile_(new QRadioButton("Sound file:", this)),
      sndLoop_(new QCheckBox("Loop", this)),
      sndFilename_(new QLineEdit(this)),
      add_(new QPushButton(this)),
      apply_(new QPushButton("Apply", this)),
      delete_(new QPushButton(this)) {
  setWindowTitle(TF_Shed::kCaption);
  list_->setColumnCount(3);
  list_->setHeaderLabels({"Message", "Date", "Time"});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setColumnWidth(0, 241);
  list_->setColumnWidth(1, 50);
  list_->setColumnWidth(2, 50);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  todayDate_->setFixedWidth(90);
  hour_ = TwoDigits(&TF_Shed::TimeHourExit, &Editor::TimeHour);
  minute_ = TwoDigits(&TF_Shed::TimeMinuteExit, &Editor::TimeMinute);
  day_ = TwoDigits(&TF_Shed::DateDayExit, &Editor::DateDay);
  month_ = TwoDigits(&TF_Shed::DateMonthExit, &Editor::DateMonth);
  periodHour_ = TwoDigits(&TF_Shed::PeriodHourExit, &Editor::PeriodHour);
  periodMin_ = TwoDigits(&TF_Shed::PeriodMinExit, &Editor::PeriodMin);
  periodDay_ = TwoDigits(&TF_Shed::PeriodDayExit, &Editor::PeriodDay);
  periodMonth_ = TwoDigits(&TF_Shed::PeriodMonthExit, &Editor::PeriodMonth);
  repeatTimeN_->setRange(1, 240);
  repeatDaysN_->setRange(1, 99);
  repeatTimeUnit_->addItems({"minutes", "hours"});
  add_->setToolTip("Add");
  apply_->setToolTip("Apply");

  auto* filter = new QHBoxLayout;
  filter->addWidget(specified_);
  filter->addWidget(todayDate_);
  filter->addStretch();
  filter->addWidget(signal_);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(apply_);
  buttons->addWidget(delete_);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(list_, 1);
  listColumn->addLayout(filter);
  top->addLayout(listColumn, 1);
  top->addLayout(buttons);

  auto* grid = new QGridLayout;
  int row = 0;
  grid->addWidget(new QLabel("Title:", this), row, 0);
  grid->addWidget(title_, row++, 1, 1, 6);
  grid->addWidget(new QLabel("Text:", this), row, 0, Qt::AlignTop);
  grid->addWidget(memo_, row++, 1, 1, 6);
  grid->addWidget(timeE_, row, 0);
  grid->addWidget(hour_, row, 1);
  grid->addWidget(minute_, row, 2);
  grid->addWidget(dateE_, row, 3);
  grid->addWidget(day_, row, 4);
  grid->addWidget(month_, row++, 5);
  grid->addWidget(repeatTimeE_, row, 0);
  grid->addWidget(repeatTimeN_, row, 1);
  grid->addWidget(repeatTimeUnit_, row, 2);
  grid->addWidget(repeatDaysE_, row, 3);
  grid->addWidget(repeatDaysN_, row, 4);
  grid->addWidget(new QLabel("days", this), row++, 5);
  grid->addWidget(periodT_, row, 0);
  grid->addWidget(periodHour_, row, 1);
  grid->addWidget(periodMin_, row, 2);
  grid->addWidget(periodE_, row, 3);
  grid->addWidget(periodDay_, row, 4);
  grid->addWidget(periodMonth_, row++, 5);
  auto* sound = new QHBoxLayout;
  sound->addWidget(sndOff_);
  sound->addWidget(sndStd_);
  sound->addWidget(sndFile_);
  sound->addWidget(sndFilename_, 1);
  auto* browse = new QPushButton("...", this);
  auto* play = new QPushButton("Play", this);
  auto* stop = new QPushButton("Stop", this);
  browse->setFixedWidth(28);
  sound->addWidget(browse);
  sound->addWidget(sndLoop_);
  sound->addWidget(play);
  sound->addWidget(stop);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(grid);
  layout->addLayout(sound);

  Editor& e = model_.editor;
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (refreshing_) return;
    model_.ShedListClick(SelectedRow(*list_));
  });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { model_.ShedListDblClick(); });
  connect(list_, &QTreeWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ShowMenu(list_->viewport()->mapToGlobal(at)); });
  connect(specified_, &QCheckBox::toggled, this, [this](bool on) {
    model_.ShowTodayOnly = on;
    model_.ShowTodayOnlyClick();
  });
  connect(todayDate_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.TodayDate = text.toStdString(); });
  connect(todayDate_, &QLineEdit::editingFinished, this, [this] { model_.TodayDateExit(); });
  connect(title_, &QLineEdit::textEdited, this,
          [&e](const QString& text) { e.NameEdit = text.toStdString(); });
  connect(memo_, &QPlainTextEdit::textChanged, this, [this, &e] {
    if (refreshing_) return;
    e.MemoEdit.clear();
    for (const QString& line : memo_->toPlainText().split('\n'))
      e.MemoEdit.push_back(line.toStdString());
    if (e.MemoEdit.size() == 1 && e.MemoEdit.front().empty()) e.MemoEdit.clear();
  });
  connect(timeE_, &QCheckBox::toggled, this, [&e](bool on) { e.TimeE = on; });
  connect(dateE_, &QCheckBox::toggled, this, [&e](bool on) { e.DateE = on; });
  connect(repeatTimeE_, &QCheckBox::toggled, this, [&e](bool on) { e.RepeatTimeE = on; });
  connect(repeatDaysE_, &QCheckBox::toggled, this, [&e](bool on) { e.RepeatDaysE = on; });
  connect(periodT_, &QCheckBox::toggled, this, [&e](bool on) { e.PeriodT = on; });
  connect(periodE_, &QCheckBox::toggled, this, [&e](bool on) { e.PeriodE = on; });
  connect(repeatTimeN_, &QSpinBox::valueChanged, this, [&e](int n) { e.RepeatTimeN = n; });
  connect(repeatDaysN_, &QSpinBox::valueChanged, this, [&e](int n) { e.RepeatDaysN = n; });
  connect(repeatTimeUnit_, &QComboBox::activated, this,
          [&e](int unit) { e.RepeatTimeMin = unit == 0; });
  auto soundChoice = [this, &e] {
    e.SndOff = sndOff_->isChecked();
    e.SndStd = sndStd_->isChecked();
    e.SndFile = sndFile_->isChecked();
  };
  for (QRadioButton* choice : {sndOff_, sndStd_, sndFile_})
    connect(choice, &QRadioButton::toggled, this, soundChoice);
  connect(sndLoop_, &QCheckBox::toggled, this, [&e](bool on) { e.SndLoop = on; });
  connect(sndFilename_, &QLineEdit::textEdited, this,
          [&e](const QString& text) { e.SndFilename = text.toStdString(); });
  connect(browse, &QPushButton::clicked, this, [this] { model_.SndBrowseClick(); });
  connect(play, &QPushButton::clicked, this, [this] { model_.SndPlayClick(); });
  connect(stop, &QPushButton::clicked, this, [this] { model_.SndStopClick(); });
  connect(add_, &QPushButton::clicked, this, [this] { model_.AddBtnClick(); });
  connect(apply_, &QPushButton::clicked, this, [this] { model_.ApplyBtnClick(); });
  connect(delete_, &QPushButton::clicked, this, [this] { model_.DelBtnClick(); });
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
}

QLineEdit* TF_ShedWidget::TwoDigits(void (TF_Shed::*exit)(), std::string Editor::*field) {
  auto* box = new QLineEdit(this);
  box->setMaxLength(2);
  box->setFixedWidth(32);
  connect(box, &QLineEdit::textEdited, this,
          [this, field](const QString& text) { model_.editor.*field = text.toStdString(); });
  connect(box, &QLineEdit::editingFinished, this, [this, exit] { (model_.*exit)(); });
  return box;
}

void TF_ShedWidget::ShowList() {
  const QSignalBlocker blocker(list_);
  const std::vector<TF_Shed::Row>& rows = model_.Rows();
  KeepRows(*list_, static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(i));
    item->setText(0, Text(rows[i].caption));
    item->setText(1, Text(rows[i].date));
    item->setText(2, Text(rows[i].time));
    item->setIcon(0, StateImage(rows[i].image));
  }
  ShowSelectedRow(*list_, model_.Selected());
  list_->setEnabled(model_.ListEnabled());
}

void TF_ShedWidget::ShowEditor() {
  const Editor& e = model_.editor;
  SetText(title_, e.NameEdit);
  QStringList lines;
  for (const std::string& line : e.MemoEdit)
    lines << Text(line);
  if (memo_->toPlainText() != lines.join('\n')) memo_->setPlainText(lines.join('\n'));
  SetChecked(timeE_, e.TimeE);
  SetChecked(dateE_, e.DateE);
  SetText(hour_, e.TimeHour);
  SetText(minute_, e.TimeMinute);
  SetText(day_, e.DateDay);
  SetText(month_, e.DateMonth);
  SetChecked(repeatTimeE_, e.RepeatTimeE);
  SetChecked(repeatDaysE_, e.RepeatDaysE);
  {
    const QSignalBlocker a(repeatTimeN_), b(repeatDaysN_), c(repeatTimeUnit_);
    repeatTimeN_->setValue(e.RepeatTimeN);
    repeatDaysN_->setValue(e.RepeatDaysN);
    repeatTimeUnit_->setCurrentIndex(e.RepeatTimeMin ? 0 : 1);
  }
  SetChecked(periodT_, e.PeriodT);
  SetChecked(periodE_, e.PeriodE);
  SetText(periodHour_, e.PeriodHour);
  SetText(periodMin_, e.PeriodMin);
  SetText(periodDay_, e.PeriodDay);
  SetText(periodMonth_, e.PeriodMonth);
  SetChecked(sndOff_, e.SndOff);
  SetChecked(sndStd_, e.SndStd);
  SetChecked(sndFile_, e.SndFile);
  SetChecked(sndLoop_, e.SndLoop);
  SetText(sndFilename_, e.SndFilename);
}

void TF_ShedWidget::Refresh() {
  refreshing_ = true;
  ShowList();
  ShowEditor();
  refreshing_ = false;
  SetChecked(specified_, model_.ShowTodayOnly);
  specified_->setEnabled(model_.ShowTodayOnlyEnabled());
  SetText(todayDate_, model_.TodayDate);
  signal_->setText(model_.SignalShown() ? QString::fromUtf8("\xE2\x99\xAA sound") : "silent");
  signal_->setEnabled(model_.SignalShown());
  add_->setText(model_.Adding() ? "OK" : "Add");
  apply_->setEnabled(model_.ApplyEnabled());
  delete_->setText(model_.Adding() ? "Cancel" : "Delete");
  delete_->setToolTip(Text(model_.DeleteHint()));

  FollowModel(model_.Visible(), model_.Centered(), model_.Place());
  if (model_.TitleFocusRequests() != focusRequests_) {
    focusRequests_ = model_.TitleFocusRequests();
    title_->setFocus();
  }
}

void TF_ShedWidget::ShowMenu(const QPoint& at) {
  const TF_Shed::Menu items = model_.ShedMenuPopup();
  QMenu menu(this);
  if (items.switchesVisible) {
    menu.addAction(Text(items.messageItem), this, [this] { model_.ShedMenu_DoneClick(); });
    menu.addAction(Text(items.doneItem), this, [this] { model_.ShedMenu_EnabledClick(); });
    menu.addSeparator();
  }
  menu.addAction("Re-initialization", this, [this] { model_.N1Click(); });
  menu.exec(at);
}

}  // namespace pelorin::ui
