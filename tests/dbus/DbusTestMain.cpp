// Runs the tests that need a session bus (run under dbus-run-session) inside one
// QCoreApplication.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "support/TempDir.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr) {
    std::fprintf(stderr,
                 "These tests need a private session bus: run them under dbus-run-session.\n");
    return 1;
  }
  pelorin::testing::TempDir runtime;
  ::chmod(runtime.path().c_str(), 0700);
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
