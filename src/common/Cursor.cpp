#include "common/Cursor.h"

namespace pelorin {

int CursorX(const ports::Screen& screen) {
  return screen.GetCursorXY().x;
}

}  // namespace pelorin
