#include "ui/MenuPlacement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelorin::ui {
namespace {

// A 1280 x 800 screen (with a 24-pixel panel on top, for the plain cases) and a tray
// icon in its top-right or bottom-right corner.
TEST(MenuPlacementTest, OpensAtThePointerInsideTheScreenAndBesideTheTrayIcon) {
  const QRect top(0, 24, 1280, 776);
  const QRect whole(0, 0, 1280, 800);
  const QRect topIcon(1240, 0, 24, 24);
  const QRect bottomIcon(1240, 776, 24, 24);
  const QSize menu(180, 300);
  struct Case {
    std::string name;
    QPoint pointer;
    QRect screen;
    QRect avoid;
    QPoint expected;
  };
  const std::vector<Case> cases = {
      {"room to the right and below", {300, 200}, top, {}, {300, 200}},
      {"at the right edge: opens leftwards", {1200, 200}, top, {}, {1020, 200}},
      {"at the bottom: opens upwards", {300, 700}, top, {}, {300, 400}},
      {"bigger than the room both ways: kept on the screen",
       {5, 30},
       QRect(0, 0, 100, 200),
       {},
       {0, 0}},
      {"tray icon on top: below the icon, to its left", {1250, 12}, whole, topIcon, {1070, 24}},
      {"tray icon at the bottom: above the icon", {1250, 788}, whole, bottomIcon, {1070, 476}},
      {"an icon the menu does not reach changes nothing", {300, 200}, top, topIcon, {300, 200}},
      {"too tall for above or below: beside the icon",
       {1250, 12},
       QRect(0, 0, 1280, 310),
       topIcon,
       {1060, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QPoint at = MenuPlacement(c.pointer, menu, c.screen, c.avoid);
    EXPECT_EQ(at, c.expected);
    EXPECT_TRUE(c.screen.contains(QRect(at, menu)) || menu.height() > c.screen.height() ||
                menu.width() > c.screen.width());
    if (c.avoid.isValid()) {
      EXPECT_FALSE(QRect(at, menu).intersects(c.avoid));
    }
  }
}

}  // namespace
}  // namespace pelorin::ui
