#include "ui/organizer/TF_WelcomeWidget.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "organizer/TF_Welcome.h"

namespace pelorin::ui {
namespace {

QLabel* MakeLabel(QWidget* parent, int pointSize, bool bold, const char* colour) {
  auto* label = new QLabel(parent);
  QFont font = label->font();
  font.setPointSize(pointSize);
  font.setBold(bold);
  label->setFont(font);
  label->setStyleSheet(QString("color: %1; background: transparent;").arg(colour));
  return label;
}

}  // namespace

TF_WelcomeWidget::TF_WelcomeWidget(TF_Welcome& model)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      model_(model),
      greeting_(MakeLabel(this, 28, true, "white")),
      name_(MakeLabel(this, 24, false, "#ffe680")),
      date_(MakeLabel(this, 16, false, "white")),
      weekday_(MakeLabel(this, 16, true, "#ffe680")),
      clock_(MakeLabel(this, 22, true, "white")),
      memo_(new QPlainTextEdit(this)),
      ok_(MakeLabel(this, 18, true, "white")),
      organizer_(MakeLabel(this, 14, false, "white")),
      button1_(new QPushButton(this)) {
  setWindowTitle("Pelorin");
  greeting_->setText(TF_Welcome::kGreeting);
  ok_->setText("OK");
  organizer_->setText("Organizer");
  for (QLabel* link : {ok_, organizer_}) {
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);
  }
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setFrameShape(QFrame::NoFrame);
  memo_->installEventFilter(this);
  QFont memoFont = memo_->font();
  memoFont.setPointSize(14);
  memo_->setFont(memoFont);
  button1_->installEventFilter(this);
  connect(button1_, &QPushButton::clicked, this, [this] { model_.Button1Click(); });
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
}

void TF_WelcomeWidget::Layout() {
  const int w = model_.Width(), h = model_.Height();
  greeting_->move(100, 40);
  greeting_->adjustSize();
  name_->move(100, 40 + greeting_->height());
  name_->adjustSize();
  date_->move(100, 60 + greeting_->height() + name_->height());
  date_->adjustSize();
  weekday_->move(date_->x() + date_->width() + TF_Welcome::kWeekdayGap, date_->y());
  weekday_->adjustSize();
  clock_->adjustSize();
  clock_->move(w - clock_->width() - TF_Welcome::kClockGap, TF_Welcome::kClockGap);
  // Beneath the date line, to 220 pixels less than the screen's height from there.
  const int listTop = date_->y() + date_->height() + 20;
  memo_->setGeometry(TF_Welcome::kListLeft, listTop, w - TF_Welcome::kListNarrower,
                     std::min(h - TF_Welcome::kListShorter, h - listTop - 60));
  ok_->adjustSize();
  ok_->move((w - ok_->width()) / 2, h - TF_Welcome::kOkBottomGap - ok_->height());
  organizer_->adjustSize();
  organizer_->move(w - TF_Welcome::kOrganizerRightGap - organizer_->width(),
                   h - TF_Welcome::kOkBottomGap - organizer_->height());
  button1_->setGeometry(TF_Welcome::kButton1Left, 0, 10, 10);
}

void TF_WelcomeWidget::Refresh() {
  name_->setText(QString::fromStdString(model_.NameLine()));
  date_->setText(QString::fromStdString(model_.DateLine()));
  weekday_->setText(QString::fromStdString(model_.Weekday()));
  clock_->setText(QString::fromStdString(model_.Clock()));
  QStringList lines;
  for (const std::string& line : model_.Lines())
    lines << QString::fromStdString(line);
  const QString text = lines.join('\n');
  if (memo_->toPlainText() != text) {
    memo_->setPlainText(text);
    // Right-aligned lines, and the cursor at the start.
    QTextCursor all(memo_->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    all.mergeBlockFormat(right);
    memo_->moveCursor(QTextCursor::Start);
  }
  const bool yellow = model_.Colour() == TF_Welcome::ListColour::kYellow;
  memo_->setStyleSheet(QString("QPlainTextEdit { color: %1; background: rgba(0, 0, 40, 90); }")
                           .arg(yellow ? "yellow" : "white"));
  if (model_.Visible()) {
    setGeometry(model_.Left(), model_.Top(), model_.Width(), model_.Height());
    Layout();
    if (!isVisible()) {
      show();
      activateWindow();
      button1_->setFocus();
    }
    raise();  // also when another program took the focus
  } else if (isVisible()) {
    hide();
  }
  if (model_.FocusRequests() != focusRequests_) {
    focusRequests_ = model_.FocusRequests();
    button1_->setFocus();
  }
}

void TF_WelcomeWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0, QColor(18, 46, 110));
  gradient.setColorAt(1, QColor(6, 12, 36));
  painter.fillRect(rect(), gradient);
}

bool TF_WelcomeWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == ok_) model_.OKClick();
    if (watched == organizer_) model_.Label5Click();
  }
  if (watched == memo_ && event->type() == QEvent::FocusIn) model_.Memo1Enter();
  if (watched == button1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) model_.Button1KeyPress('\r');
    if (key == Qt::Key_Escape) model_.Button1KeyPress('\x1b');
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pelorin::ui
