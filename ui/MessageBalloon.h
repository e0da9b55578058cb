#pragma once

#include <QLabel>

namespace pelorin::ui {

// MessHint: a borderless round-rectangle message at (100, 100) in bold Arial, 13
// pixels high, at most 600 pixels wide, in the tooltip colours. It holds the mouse
// and the keyboard: the next button press or release anywhere, a key press or a
// change of the active window removes it; moving the mouse does not. No time-out.
class MessageBalloon : public QLabel {
  Q_OBJECT
 public:
  MessageBalloon();
  void ShowMessage(const QString& text);
  void Remove();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;
};

}  // namespace pelorin::ui
