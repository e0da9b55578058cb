#pragma once

#include <algorithm>

namespace pelorin::ports {

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A rectangle of screen points, its edges included: a point is inside when
// left <= x <= right and top <= y <= bottom.
struct ScreenArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const ScreenArea&, const ScreenArea&) = default;

  // The point of the area nearest to `point` (the point itself when it is inside).
  ScreenPoint Nearest(ScreenPoint point) const {
    return {std::clamp(point.x, left, right), std::clamp(point.y, top, bottom)};
  }
};

// The primary screen and the mouse pointer.
class Screen {
 public:
  virtual ~Screen() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual ScreenPoint GetCursorXY() const = 0;
  virtual void SetCursorXY(ScreenPoint point) = 0;

  // Holds the pointer inside `area` until ReleasePointer, by the system's own means:
  // the pointer is moved into the area now and cannot leave it, with nothing for the
  // caller to watch. Confining again moves the hold to the new area. False when the
  // system refuses (another program holds the pointer) or has no way to: nothing is
  // held then, and the caller has to keep the pointer inside by itself.
  virtual bool ConfinePointer(ScreenArea area) = 0;
  // Lets the pointer go (nothing when it is not held).
  virtual void ReleasePointer() = 0;
};

}  // namespace pelorin::ports
