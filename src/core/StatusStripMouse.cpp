#include "core/StatusStripMouse.h"

#include "core/MainMenu.h"
#include "core/ProfileLoader.h"
#include "core/TF_Main.h"
#include "storage/SettingsFile.h"

namespace pelorin {

StatusStripMouse::StatusStripMouse(CoreContext& ctx) : ctx_(ctx) {}

void StatusStripMouse::MouseDown(int x, int y) {
  if (ctx_.main->Ended()) return;
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
  if (value <= TF_Main::kStripSnapDistance) return 0;
  if (value >= screenSize - stripSize - TF_Main::kStripSnapDistance) return screenSize - stripSize;
  return value;
}

void StatusStripMouse::MouseMove(int screenX, int screenY) {
  if (!dragging_ || ctx_.main->Ended() || ctx_.values.Locked || ctx_.main->Left() < 0) return;
  int left = ctx_.main->Left();
  int top = ctx_.main->Top();
  const int newLeft = screenX - pressX_;
  const int newTop = screenY - pressY_;
  if (winSnap_) {
    left = Snap(newLeft, ctx_.ports.screen.Width(), TF_Main::kStripWidth);
    top = Snap(newTop, ctx_.ports.screen.Height(), TF_Main::kStripHeight);
  } else {
    if (newLeft >= 0) left = newLeft;
    if (newTop >= 0) top = newTop;
  }
  ctx_.main->MoveMainWindow(left, top);
}

void StatusStripMouse::MouseUp(bool rightButton, int screenX, int screenY) {
  dragging_ = false;
  if (ctx_.main->Ended() || !rightButton) return;
  // The fly panel collapses here too once it exists.
  ctx_.menu->ShowMainMenu(screenX, screenY);
}

void StatusStripMouse::DoubleClick() {
  if (ctx_.main->Ended() || ctx_.values.Locked) return;
  if (ctx_.main->Left() >= 0)
    ctx_.main->MoveMainWindow(ctx_.main->Left() + TF_Main::kParked, ctx_.main->Top());
  ctx_.loader->SaveWindowPositions();
}

}  // namespace pelorin
