#include "common/Cursor.h"

#include <gtest/gtest.h>

#include "sim/SimScreen.h"

namespace pelorin {
namespace {

TEST(CursorX, IsThePointersHorizontalPosition) {
  sim::SimScreen screen;
  screen.SetCursorXY({700, 20});
  EXPECT_EQ(CursorX(screen), 700);
  screen.SetCursorXY({-5, 300});  // on a screen left of the primary one
  EXPECT_EQ(CursorX(screen), -5);
}

}  // namespace
}  // namespace pelorin
