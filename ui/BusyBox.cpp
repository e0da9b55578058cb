#include "ui/BusyBox.h"
#include "ui/DialogStacking.h"
#include "ui/ScreenCentre.h"
#include "ui/WindowManagerClose.h"

#include <QVBoxLayout>

namespace pelorin::ui {

BusyBox::BusyBox()
    : QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint),
      text_(new QLabel(this)),
      progress_(new QProgressBar(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(progress_);
  progress_->setRange(0, 100);
  setFixedSize(320, 90);
  RefuseWindowManagerClose(*this);
}

void BusyBox::Show(const QString& caption, const QString& text) {
  setWindowTitle(caption);
  text_->setText(text);
  progress_->setValue(0);
  CentreOnScreen(*this);
  show();
  raise();
  KeepDialogsOnTop();
  shownFor_.start();
}

void BusyBox::SetProgress(int position) {
  progress_->setValue(position);
  // The load runs on the user-interface thread without returning to the event loop.
  // A load that takes a while is painted at each step (without letting other events
  // in); a quick one is over before the box could be read.
  if (shownFor_.elapsed() >= kPaintAfterMs) repaint();
}

}  // namespace pelorin::ui
