#include "core/StatusStripMouse.h"

#include "core/MainMenu.h"
#include "storage/SettingsFile.h"

namespace pelorin {

StatusStripMouse::StatusStripMouse(CoreContext& ctx, MainMenu& menu) : ctx_(ctx), menu_(menu) {}

void StatusStripMouse::MouseDown(int x, int y) {
  if (ctx_.lifetime.Ended()) return;
  dragging_ = true;
  pressX_ = x;
  pressY_ = y;
  // Read when a drag starts, so that a change made by the Preferences dialog holds.
  winSnap_ =
      SettingsFile(ctx_.values.ProfileDir / "status.hif").ReadBool("SYSTEM", "WinSnap", true);
}

// With snapping a coordinate of the snap distance or less becomes 0 and one at or beyond
// the far border's reach (screen size - strip size - snap distance) lies against that
// border.
int StatusStripMouse::Snap(int value, int screenSize, int stripSize) const {
  if (value <= MainWindowPlace::kStripSnapDistance) return 0;
  if (value >= screenSize - stripSize - MainWindowPlace::kStripSnapDistance)
    return screenSize - stripSize;
  return value;
}

void StatusStripMouse::MouseMove(int screenX, int screenY) {
  if (!dragging_ || ctx_.lifetime.Ended() || ctx_.values.Locked || ctx_.mainWindow.Left() < 0)
    return;
  int left = ctx_.mainWindow.Left();
  int top = ctx_.mainWindow.Top();
  const int newLeft = screenX - pressX_;
  const int newTop = screenY - pressY_;
  if (winSnap_) {
    left = Snap(newLeft, ctx_.ports.screen.Width(), MainWindowPlace::kStripWidth);
    top = Snap(newTop, ctx_.ports.screen.Height(), MainWindowPlace::kStripHeight);
  } else {
    if (newLeft >= 0) left = newLeft;
    if (newTop >= 0) top = newTop;
  }
  ctx_.mainWindow.Move(left, top);
}

void StatusStripMouse::MouseUp(bool rightButton, int screenX, int screenY) {
  dragging_ = false;
  if (ctx_.lifetime.Ended() || !rightButton) return;
  // The fly panel collapses here too once it exists.
  menu_.ShowMainMenu(screenX, screenY);
}

void StatusStripMouse::DoubleClick() {
  if (ctx_.lifetime.Ended() || ctx_.values.Locked) return;
  if (ctx_.mainWindow.Left() >= 0)
    ctx_.mainWindow.Move(ctx_.mainWindow.Left() + MainWindowPlace::kParked, ctx_.mainWindow.Top());
  ctx_.places.SaveWindowPositions();
}

}  // namespace pelorin
