#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace pelorin {
class StatusStrip;
class StatusStripMouse;
class TF_Main;
}  // namespace pelorin

namespace pelorin::ui {

// The main window on screen: the splash picture during start-up, afterwards the
// frameless, always-on-top status strip (parked off screen while hidden) with its two
// measurements and a clock line. Mouse events go to the strip's handlers in the core;
// a close request from the window manager goes to the main window's model, which
// refuses it until shutdown has begun.
class TF_MainWidget : public QWidget {
  Q_OBJECT
 public:
  TF_MainWidget(StatusStripMouse& mouse, const StatusStrip& strip, TF_Main& main);

  void Place(int left, int top, int width, int height, bool splash, bool visible);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  StatusStripMouse& mouse_;
  const StatusStrip& strip_;
  TF_Main& main_;
  QTimer clock_;  // the time line, refreshed every second while the strip is shown
  bool splash_ = false;
  QPixmap splashPicture_;
};

}  // namespace pelorin::ui
