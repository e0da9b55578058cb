#pragma once

namespace pelorin::ports {

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The primary screen and the mouse pointer.
class Screen {
 public:
  virtual ~Screen() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual ScreenPoint GetCursorXY() const = 0;
  virtual void SetCursorXY(ScreenPoint point) = 0;
};

}  // namespace pelorin::ports
