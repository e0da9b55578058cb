// Runs the tests that need a real X server (run under xvfb-run) inside one
// QGuiApplication on the xcb platform.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QGuiApplication>
#include <cstdlib>

#include "support/TempDir.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  pelorin::testing::TempDir runtime;
  ::chmod(runtime.path().c_str(), 0700);
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
