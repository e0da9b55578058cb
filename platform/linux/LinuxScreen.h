#pragma once

#include "linux/PointerConfinement.h"
#include "ports/Screen.h"

namespace pelorin::lnx {

// The primary screen and the mouse pointer through Qt; the pointer is confined
// through the X server (see PointerConfinement). Without a screen (none attached) the
// size is 0 x 0, and without an X display no confinement is possible. The pointer is
// not moved while a modal dialog of the suite is open.
class LinuxScreen : public ports::Screen {
 public:
  // A refused confinement goes to `log`.
  explicit LinuxScreen(ports::Log& log) : confinement_(log) {}

  int Width() const override;
  int Height() const override;
  ports::ScreenPoint GetCursorXY() const override;
  void SetCursorXY(ports::ScreenPoint point) override;
  bool ConfinePointer(ports::ScreenArea area) override;
  void ReleasePointer() override;

 private:
  PointerConfinement confinement_;
};

}  // namespace pelorin::lnx
