#include "ui/alarms/TF_TimeWidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "alarms/TF_Time.h"

namespace pelorin::ui {
namespace {

using Arrow = TF_Time::Arrow;

QFont Larger(QFont font, int factor) {
  font.setPointSize(font.pointSize() * factor);
  font.setBold(true);
  return font;
}

// Lit or dim, as a label of the clock face.
void Light(QLabel* label, bool lit) {
  label->setEnabled(lit);
}

}  // namespace

TF_TimeWidget::TF_TimeWidget(TF_Time& model)
    : AppletWindow([&model](WindowPlace place) { model.Moved(place); },
                   [&model] { model.FormClose(); }),
      model_(model),
      clock_(new QLabel(this)),
      am_(new QLabel("AM", this)),
      pm_(new QLabel("PM", this)),
      stopwatch_(new QLabel(this)) {
  setWindowTitle(TF_Time::kCaption);
  clock_->setFont(Larger(clock_->font(), 3));
  clock_->setAlignment(Qt::AlignCenter);
  clock_->setCursor(Qt::PointingHandCursor);
  for (QLabel* label : {clock_, am_, pm_})
    label->installEventFilter(this);
  stopwatch_->setFont(Larger(stopwatch_->font(), 2));
  stopwatch_->setAlignment(Qt::AlignCenter);

  auto* amPm = new QVBoxLayout;
  amPm->addWidget(am_);
  amPm->addWidget(pm_);
  auto* clockRow = new QHBoxLayout;
  clockRow->addWidget(clock_, 1);
  clockRow->addLayout(amPm);

  auto* seconds = new QGroupBox("Seconds counter", this);
  auto* start = new QPushButton("Start", seconds);
  auto* stop = new QPushButton("Stop / Reset", seconds);
  auto* freeze = new QPushButton("Freeze", seconds);
  auto* secondsButtons = new QHBoxLayout;
  secondsButtons->addWidget(start);
  secondsButtons->addWidget(stop);
  secondsButtons->addWidget(freeze);
  auto* secondsLayout = new QVBoxLayout(seconds);
  secondsLayout->addWidget(stopwatch_);
  secondsLayout->addLayout(secondsButtons);
  connect(start, &QPushButton::clicked, this, [this] { model_.Button1Click(); });
  connect(stop, &QPushButton::clicked, this, [this] { model_.Button2Click(); });
  connect(freeze, &QPushButton::clicked, this, [this] { model_.Button3Click(); });

  auto* timers = new QGroupBox("Timers", this);
  auto* timersLayout = new QHBoxLayout(timers);
  timersLayout->addWidget(MakeCountdown(0));
  timersLayout->addWidget(MakeCountdown(1));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(clockRow);
  layout->addWidget(seconds);
  layout->addWidget(timers);
  modelChanged_ = model_.changed.Subscribe([this] { Refresh(); });
}

QWidget* TF_TimeWidget::MakeCountdown(int n) {
  auto* box = new QWidget(this);
  auto* display = new QLabel(box);
  display->setFont(Larger(display->font(), 2));
  display->setAlignment(Qt::AlignCenter);
  countdowns_[static_cast<std::size_t>(n)] = display;
  // Minutes down and up, seconds down and up.
  const std::array<Arrow, 4> arrows =
      n == 0 ? std::array{Arrow::kButton7, Arrow::kButton8, Arrow::kButton9, Arrow::kButton10}
             : std::array{Arrow::kButton12, Arrow::kButton13, Arrow::kButton14, Arrow::kButton15};
  auto* grid = new QGridLayout(box);
  grid->addWidget(display, 1, 0, 1, 2);
  const char* faces[] = {"-", "+", "-", "+"};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QToolButton(box);
    button->setText(faces[i]);
    button->setToolTip(i < 2 ? "Minutes" : "Seconds");
    grid->addWidget(button, i % 2 == 0 ? 2 : 0, i / 2);
    const Arrow arrow = arrows[static_cast<std::size_t>(i)];
    connect(button, &QToolButton::pressed, this, [this, arrow] { model_.ArrowDown(arrow); });
    connect(button, &QToolButton::released, this, [this] { model_.ArrowUp(); });
  }
  auto* start = new QPushButton("Start", box);
  auto* stop = new QPushButton("Stop / Reset", box);
  grid->addWidget(start, 3, 0);
  grid->addWidget(stop, 3, 1);
  connect(start, &QPushButton::clicked, this, [this, n] {
    if (n == 0)
      model_.Button4Click();
    else
      model_.Button6Click();
  });
  connect(stop, &QPushButton::clicked, this, [this, n] {
    if (n == 0)
      model_.Button5Click();
    else
      model_.Button11Click();
  });
  return box;
}

void TF_TimeWidget::Refresh() {
  clock_->setText(QString::fromStdString(model_.ClockText()));
  Light(am_, model_.AmLit());
  Light(pm_, model_.PmLit());
  am_->setVisible(model_.Mode12());
  pm_->setVisible(model_.Mode12());
  stopwatch_->setText(QString::fromStdString(model_.StopwatchText()));
  for (int n = 0; n < 2; ++n)
    countdowns_[static_cast<std::size_t>(n)]->setText(
        QString::fromStdString(model_.CountdownText(n)));

  FollowModel(model_.Visible(), model_.Centered(), model_.Place());
}

bool TF_TimeWidget::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == clock_ || watched == am_ || watched == pm_) &&
      event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    model_.AMClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pelorin::ui
