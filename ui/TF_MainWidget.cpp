#include "ui/TF_MainWidget.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>

#include "core/StatusStrip.h"
#include "core/StatusStripMouse.h"
#include "core/SuiteVersion.h"
#include "core/TF_Main.h"
#include "ui/SuitePictures.h"

namespace pelorin::ui {

namespace {

constexpr int kClockIntervalMs = 1000;

// The strip's two lines of text: the two measurements side by side, the clock below.
constexpr int kTextPixelSize = 10;
constexpr int kTextInset = 2;  // between the strip's border and its texts
constexpr int kLineHeight = 15;
constexpr int kTopLine = 1;
constexpr int kBottomLine = kTopLine + kLineHeight;

}  // namespace

TF_MainWidget::TF_MainWidget(StatusStripMouse& mouse, const StatusStrip& strip, TF_Main& main)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      mouse_(mouse),
      strip_(strip),
      main_(main) {
  setWindowTitle("Pelorin");
  setAttribute(Qt::WA_ShowWithoutActivating);
  clock_.setInterval(kClockIntervalMs);
  connect(&clock_, &QTimer::timeout, this, [this] { update(); });
}

void TF_MainWidget::Place(int left, int top, int width, int height, bool splash, bool visible) {
  if (splash && splashPicture_.isNull())
    splashPicture_ = SplashPicture(width, height, kSuiteVersion);
  if (!splash) splashPicture_ = QPixmap();  // the picture is released after start-up
  splash_ = splash;
  setGeometry(left, top, width, height);
  setFixedSize(width, height);
  // A window parked off screen is hidden instead: window managers pull windows that
  // lie wholly outside the screen back into view.
  const bool onScreen = left + width > 0 && top + height > 0;
  if (visible && onScreen && !isVisible()) show();
  if ((!visible || !onScreen) && isVisible()) hide();
  // The clock line only ticks while the strip itself is on the screen.
  if (isVisible() && !splash_) {
    if (!clock_.isActive()) clock_.start();
  } else {
    clock_.stop();
  }
  update();
}

void TF_MainWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (splash_ && !splashPicture_.isNull()) {
    p.drawPixmap(0, 0, splashPicture_);
    return;
  }
  p.fillRect(rect(), QColor(20, 40, 70));
  p.setPen(QColor(90, 120, 170));
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  QFont small = font();
  small.setPixelSize(kTextPixelSize);
  p.setFont(small);
  p.setPen(QColor(220, 230, 245));
  const int half = width() / 2;
  const int halfText = half - kTextInset - 1;  // a gap of two pixels between the halves
  p.drawText(QRect(kTextInset, kTopLine, halfText, kLineHeight), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromStdString(strip_.LeftText()));
  p.drawText(QRect(half + 1, kTopLine, halfText, kLineHeight), Qt::AlignRight | Qt::AlignVCenter,
             QString::fromStdString(strip_.RightText()));
  p.drawText(QRect(kTextInset, kBottomLine, width() - 2 * kTextInset, kLineHeight), Qt::AlignCenter,
             QDateTime::currentDateTime().toString("hh:mm   dd.MM"));
}

void TF_MainWidget::mousePressEvent(QMouseEvent* event) {
  mouse_.MouseDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void TF_MainWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  mouse_.MouseMove(global.x(), global.y());
}

void TF_MainWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  mouse_.MouseUp(event->button() == Qt::RightButton, global.x(), global.y());
}

void TF_MainWidget::mouseDoubleClickEvent(QMouseEvent*) {
  mouse_.DoubleClick();
}

void TF_MainWidget::closeEvent(QCloseEvent* event) {
  // Alt+F4 or the window manager's close: the window stays where the model has it
  // unless shutdown has begun.
  if (main_.CloseRequested()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace pelorin::ui
