#pragma once

#include <QWidget>
#include <functional>

#include "core/SharedValues.h"

namespace pelorin::ui {

// An applet's window whose model keeps its place: it shows where the model says (or in
// the middle of the screen when windows are centred), hides with the model, and tells
// the model when the user moves it or closes it (closing only hides it).
class AppletWindow : public QWidget {
 public:
  AppletWindow(std::function<void(WindowPlace)> moved, std::function<void()> closed);

 protected:
  // Shows the window (placed, raised, active) or hides it, as the model says.
  void FollowModel(bool visible, bool centered, WindowPlace place);

  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  std::function<void(WindowPlace)> moved_;
  std::function<void()> closed_;
  bool placing_ = false;  // the window moves itself: not the user's move
};

}  // namespace pelorin::ui
