#include "core/StatusStripMouse.h"

#include <gtest/gtest.h>

#include "core/SuiteOnSim.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

struct DragCase {
  bool winSnap;
  int toX, toY;  // where the strip's top-left corner is dragged to
  int atX, atY;  // where it ends up (screen 1280x800, strip 97x33)
};

TEST(StatusStripMouse, DraggingSnapsToTheBordersOnlyWithWinSnap) {
  const DragCase cases[] = {
      {true, 5, 5, 0, 0},           {false, 5, 5, 5, 5},          {true, 11, 300, 11, 300},
      {true, 1172, 756, 1172, 756}, {true, 1173, 757, 1183, 767}, {false, 1173, 757, 1173, 757},
      {false, -20, 40, 100, 40},    {true, -20, -7, 0, 0},
  };
  for (const DragCase& c : cases) {
    testing::SuiteOnSim sim;
    testing::WriteBytes(sim.suite.values().ProfileDir / "status.hif",
                        std::string("[SYSTEM]\r\nWinSnap=") + (c.winSnap ? "1" : "0") + "\r\n");
    sim.suite.main().MoveMainWindow(100, 100);
    StatusStripMouse& mouse = sim.suite.stripMouse();
    mouse.MouseDown(10, 10);
    mouse.MouseMove(c.toX + 10, c.toY + 10);
    mouse.MouseUp(false, c.toX + 10, c.toY + 10);
    EXPECT_EQ(sim.suite.main().Left(), c.atX) << c.winSnap << " " << c.toX << "," << c.toY;
    EXPECT_EQ(sim.suite.main().Top(), c.atY) << c.winSnap << " " << c.toX << "," << c.toY;
  }
}

TEST(StatusStripMouse, LockedOrHiddenStripDoesNotMoveAndDoubleClickHides) {
  testing::SuiteOnSim sim;
  sim.suite.main().MoveMainWindow(200, 100);
  StatusStripMouse& mouse = sim.suite.stripMouse();
  sim.suite.values().Locked = true;
  mouse.MouseDown(0, 0);
  mouse.MouseMove(400, 400);
  mouse.DoubleClick();
  EXPECT_EQ(sim.suite.main().Left(), 200);

  sim.suite.values().Locked = false;
  mouse.DoubleClick();
  EXPECT_EQ(sim.suite.main().Left(), 200 - 4000);
  mouse.MouseDown(0, 0);
  mouse.MouseMove(400, 400);  // a hidden strip is not dragged
  EXPECT_EQ(sim.suite.main().Left(), 200 - 4000);
}

TEST(StatusStripMouse, RightButtonReleasePopsTheMainMenuUpThere) {
  testing::SuiteOnSim sim;
  sim.suite.main().MoveMainWindow(200, 100);
  sim.suite.stripMouse().MouseDown(3, 3);
  sim.suite.stripMouse().MouseUp(true, 203, 103);
  ASSERT_EQ(sim.view.popups.size(), 1u);
  EXPECT_EQ(sim.view.popups[0].x, 203);
  EXPECT_EQ(sim.view.popups[0].y, 103);
}

}  // namespace
}  // namespace pelorin
