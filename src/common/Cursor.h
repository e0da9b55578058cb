#pragma once

#include "ports/Screen.h"

namespace pelorin {

// The mouse pointer's screen x alone; the whole position is the Screen port's
// GetCursorXY, and SetCursorXY moves it.
int CursorX(const ports::Screen& screen);

}  // namespace pelorin
