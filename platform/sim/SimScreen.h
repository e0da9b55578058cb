#pragma once

#include <optional>

#include "ports/Screen.h"

namespace pelorin::sim {

// A fixed 1280x800 screen (settable) with a settable pointer. A confinement is kept
// the way the X server keeps one: while it holds, every move of the pointer ends at
// the nearest point inside the area.
class SimScreen : public ports::Screen {
 public:
  int Width() const override { return width; }
  int Height() const override { return height; }
  ports::ScreenPoint GetCursorXY() const override { return cursor; }
  void SetCursorXY(ports::ScreenPoint point) override {
    cursor = confinedTo ? confinedTo->Nearest(point) : point;
  }
  bool ConfinePointer(ports::ScreenArea area) override {
    if (refuseConfinement) return false;
    confinedTo = area;
    cursor = area.Nearest(cursor);
    return true;
  }
  void ReleasePointer() override { confinedTo.reset(); }

  int width = 1280;
  int height = 800;
  ports::ScreenPoint cursor{640, 400};
  std::optional<ports::ScreenArea> confinedTo;  // the area the pointer is held in
  bool refuseConfinement = false;               // as when another program holds the pointer
};

}  // namespace pelorin::sim
