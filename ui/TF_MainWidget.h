#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace pelorin {
class StatusStrip;
class StatusStripMouse;
}  // namespace pelorin

namespace pelorin::ui {

// The main window on screen: the splash picture during start-up, afterwards the
// frameless, always-on-top status strip (parked off screen while hidden) with its two
// measurements and a clock line. Mouse events go to the strip's handlers in the core.
class TF_MainWidget : public QWidget {
  Q_OBJECT
 public:
  TF_MainWidget(StatusStripMouse& mouse, const StatusStrip& strip);

  void Place(int left, int top, int width, int height, bool splash, bool visible);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  StatusStripMouse& mouse_;
  const StatusStrip& strip_;
  QTimer clock_;  // the time line, refreshed every second while the strip is shown
  bool splash_ = false;
  QPixmap splashPicture_;
};

}  // namespace pelorin::ui
