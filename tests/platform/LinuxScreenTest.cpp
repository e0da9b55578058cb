#include "linux/LinuxScreen.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "platform/QtTestApplication.h"
#include "sim/SimLog.h"

namespace pelorin::lnx {
namespace {

TEST(LinuxScreen, PrimaryScreenSizeAndCursor) {
  testing::EnsureQtApplication();
  sim::SimLog backendLog;
  LinuxScreen screen(backendLog);
  const QRect geometry = QGuiApplication::primaryScreen()->geometry();
  EXPECT_GT(screen.Width(), 0);
  EXPECT_EQ(screen.Width(), geometry.width());
  EXPECT_EQ(screen.Height(), geometry.height());

  for (const ports::ScreenPoint point : {ports::ScreenPoint{10, 20}, ports::ScreenPoint{300, 5}}) {
    screen.SetCursorXY(point);
    EXPECT_EQ(screen.GetCursorXY(), point);
  }
}

TEST(LinuxScreen, WithoutAnXDisplayThePointerCannotBeConfined) {
  testing::EnsureQtApplication();
  sim::SimLog backendLog;
  LinuxScreen screen(backendLog);
  EXPECT_FALSE(screen.ConfinePointer({100, 100, 200, 200}));
  screen.SetCursorXY({10, 20});
  EXPECT_EQ(screen.GetCursorXY(), (ports::ScreenPoint{10, 20}));
  screen.ReleasePointer();
}

}  // namespace
}  // namespace pelorin::lnx
