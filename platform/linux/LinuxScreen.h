#pragma once

#include "ports/Screen.h"

namespace pelorin::lnx {

// The primary screen and the mouse pointer through Qt. Without a screen (none
// attached) the size is 0 x 0. The pointer is not moved while a modal dialog of the
// suite is open.
class LinuxScreen : public ports::Screen {
 public:
  int Width() const override;
  int Height() const override;
  ports::ScreenPoint GetCursorXY() const override;
  void SetCursorXY(ports::ScreenPoint point) override;
};

}  // namespace pelorin::lnx
