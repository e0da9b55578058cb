#include <gtest/gtest.h>

#include "linux/LinuxHotkeys.h"
#include "sim/SimLog.h"

namespace pelorin::lnx {
namespace {

// Without an X11 connection (no application, or a platform such as offscreen) no key
// can be grabbed: registration answers false and nothing else happens.
TEST(LinuxHotkeysWithoutX11Test, RegistrationIsRefusedQuietly) {
  sim::SimLog backendLog;
  LinuxHotkeys hotkeys(backendLog);
  int calls = 0;
  hotkeys.SetOnHotkey([&](int, unsigned, int) { ++calls; });
  EXPECT_FALSE(hotkeys.Register(1, 2 | 4, 116));
  hotkeys.Unregister(1);
  hotkeys.Unregister(7);
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace pelorin::lnx
