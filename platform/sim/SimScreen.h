#pragma once

#include "ports/Screen.h"

namespace pelorin::sim {

// A fixed 1280x800 screen (settable) with a settable pointer.
class SimScreen : public ports::Screen {
 public:
  int Width() const override { return width; }
  int Height() const override { return height; }
  ports::ScreenPoint GetCursorXY() const override { return cursor; }
  void SetCursorXY(ports::ScreenPoint point) override { cursor = point; }

  int width = 1280;
  int height = 800;
  ports::ScreenPoint cursor{640, 400};
};

}  // namespace pelorin::sim
