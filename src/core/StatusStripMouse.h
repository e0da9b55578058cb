#pragma once

#include "core/CoreContext.h"

namespace pelorin {

class MainMenu;

// The status strip's mouse handling: dragging it (with snapping to the screen's
// borders when status.hif SYSTEM/WinSnap is on), the menu on a right-button release,
// and hiding it with a double click.
class StatusStripMouse {
 public:
  StatusStripMouse(CoreContext& ctx, MainMenu& menu);

  // Positions: `x`, `y` inside the strip for the press; screen positions otherwise.
  void MouseDown(int x, int y);
  void MouseMove(int screenX, int screenY);
  void MouseUp(bool rightButton, int screenX, int screenY);
  void DoubleClick();

  bool Dragging() const { return dragging_; }

 private:
  int Snap(int value, int screenSize, int stripSize) const;

  CoreContext& ctx_;
  MainMenu& menu_;
  bool dragging_ = false;
  bool winSnap_ = true;
  int pressX_ = 0;
  int pressY_ = 0;
};

}  // namespace pelorin
