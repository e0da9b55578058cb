#include "linux/LinuxHotkeys.h"
#include "sim/SimLog.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace pelorin::lnx {
namespace {

constexpr unsigned kAlt = 1, kCtrl = 2, kShift = 4;
constexpr int kF5 = 116, kF6 = 117, kF7 = 118, kF8 = 119, kF9 = 120, kF10 = 121;

using Press = std::tuple<int, unsigned, int>;

// A second X client, standing for another program that holds key combinations.
class OtherClient {
 public:
  OtherClient() : connection_(xcb_connect(nullptr, nullptr)) {
    symbols_ = xcb_key_symbols_alloc(connection_);
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  }
  ~OtherClient() {
    xcb_key_symbols_free(symbols_);
    xcb_disconnect(connection_);
  }

  // Grabs the key with exactly these modifier bits; false when the server refused.
  bool Grab(xcb_keysym_t keysym, std::uint16_t modifiers) {
    const xcb_keycode_t keycode = Keycode(keysym);
    xcb_generic_error_t* error = xcb_request_check(
        connection_, xcb_grab_key_checked(connection_, 0, root_, modifiers, keycode,
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::free(error);
    return error == nullptr;
  }

 private:
  xcb_keycode_t Keycode(xcb_keysym_t keysym) {
    xcb_keycode_t* list = xcb_key_symbols_get_keycode(symbols_, keysym);
    const xcb_keycode_t keycode = list != nullptr ? list[0] : 0;
    std::free(list);
    return keycode;
  }

  xcb_connection_t* connection_;
  xcb_key_symbols_t* symbols_;
  xcb_window_t root_;
};

class LinuxHotkeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    hotkeys.SetOnHotkey([this](int id, unsigned modifiers, int virtualKey) {
      presses.emplace_back(id, modifiers, virtualKey);
    });
  }

  // Types keys with xdotool (an XTEST client) and lets the events arrive.
  void Type(const QString& keys) {
    ASSERT_EQ(QProcess::execute("xdotool", {"key", keys}), 0) << keys.toStdString();
  }
  // Runs the event loop until `count` presses were reported, at most a few seconds.
  void WaitForPresses(std::size_t count) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (presses.size() < count && elapsed.elapsed() < 5000)
      Spin(20);
  }
  static void Spin(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
  }

  sim::SimLog backendLog;
  LinuxHotkeys hotkeys{backendLog};
  std::vector<Press> presses;
};

TEST_F(LinuxHotkeysTest, PressesReachTheHandlerOfTheirCombinationWhateverLockIsOn) {
  ASSERT_TRUE(hotkeys.Register(1, kCtrl | kShift, kF5));
  ASSERT_TRUE(hotkeys.Register(2, kShift, kF5));

  Type("ctrl+shift+F5");
  WaitForPresses(1);
  Type("shift+F5");
  WaitForPresses(2);
  EXPECT_EQ(presses, (std::vector<Press>{{1, kCtrl | kShift, kF5}, {2, kShift, kF5}}));

  // With CapsLock on the press carries the Lock bit; the combination still counts.
  presses.clear();
  Type("Caps_Lock");
  Type("ctrl+shift+F5");
  WaitForPresses(1);
  Type("Caps_Lock");
  EXPECT_EQ(presses, (std::vector<Press>{{1, kCtrl | kShift, kF5}}));
}

TEST_F(LinuxHotkeysTest, CombinationHeldByAnotherClientIsRefusedAndLeavesNoGrabBehind) {
  OtherClient other;
  ASSERT_TRUE(other.Grab(XK_F6, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
  EXPECT_FALSE(hotkeys.Register(1, kCtrl | kShift, kF6));

  // The other client holds only the CapsLock variant: the plain grab succeeds first and
  // must be given back when the registration as a whole is refused.
  ASSERT_TRUE(other.Grab(XK_F7, XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_LOCK));
  EXPECT_FALSE(hotkeys.Register(2, kShift, kF7));
  EXPECT_TRUE(other.Grab(XK_F7, XCB_MOD_MASK_SHIFT));

  // A refused new combination leaves the identifier's previous one in force.
  ASSERT_TRUE(hotkeys.Register(3, kCtrl | kShift, kF8));
  EXPECT_FALSE(hotkeys.Register(3, kCtrl | kShift, kF6));
  EXPECT_FALSE(other.Grab(XK_F8, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
  Type("ctrl+shift+F8");
  WaitForPresses(1);
  EXPECT_EQ(presses, (std::vector<Press>{{3, kCtrl | kShift, kF8}}));
}

TEST_F(LinuxHotkeysTest, ARefusedGrabIsOneLogLineWithTheKeyTheModifiersAndTheXError) {
  OtherClient other;
  ASSERT_TRUE(other.Grab(XK_F6, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
  EXPECT_FALSE(hotkeys.Register(1, kCtrl | kShift, kF6));
  ASSERT_EQ(backendLog.Lines().size(), 1U);
  EXPECT_EQ(backendLog.Lines()[0].source, "hotkeys");
  EXPECT_EQ(backendLog.Lines()[0].text,
            "the X server refused the grab of virtual key 0x75 (keysym 0xffc3) with Ctrl+Shift: "
            "BadAccess (10)");
}

TEST_F(LinuxHotkeysTest, UnregisterAndReplacementReleaseTheOldGrabs) {
  OtherClient other;
  const std::uint16_t ctrlShift = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
  ASSERT_TRUE(hotkeys.Register(1, kCtrl | kShift, kF9));
  ASSERT_TRUE(hotkeys.Register(1, kCtrl | kShift, kF10));
  EXPECT_TRUE(other.Grab(XK_F9, ctrlShift));
  EXPECT_FALSE(other.Grab(XK_F10, ctrlShift));
  EXPECT_FALSE(other.Grab(XK_F10, ctrlShift | XCB_MOD_MASK_2));  // the NumLock variant

  // Registering the same combination again keeps the grab.
  ASSERT_TRUE(hotkeys.Register(1, kCtrl | kShift, kF10));
  EXPECT_FALSE(other.Grab(XK_F10, ctrlShift));

  hotkeys.Unregister(1);
  EXPECT_TRUE(other.Grab(XK_F10, ctrlShift));
  EXPECT_TRUE(other.Grab(XK_F10, ctrlShift | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2));
}

TEST_F(LinuxHotkeysTest, OneCombinationBelongsToOneIdentifier) {
  ASSERT_TRUE(hotkeys.Register(1, kAlt | kShift, kF5));
  EXPECT_FALSE(hotkeys.Register(2, kAlt | kShift, kF5));
  Type("alt+shift+F5");
  WaitForPresses(1);
  EXPECT_EQ(presses, (std::vector<Press>{{1, kAlt | kShift, kF5}}));
}

TEST_F(LinuxHotkeysTest, KeysWithoutAnEquivalentAreRefused) {
  EXPECT_FALSE(hotkeys.Register(1, kCtrl, 0));
  EXPECT_FALSE(hotkeys.Register(2, kCtrl, 16));   // Shift alone
  EXPECT_FALSE(hotkeys.Register(3, kCtrl, 255));  // no key has this code
}

TEST_F(LinuxHotkeysTest, DestroyingTheBackendReleasesItsGrabs) {
  {
    LinuxHotkeys temporary(backendLog);
    ASSERT_TRUE(temporary.Register(1, kCtrl | kShift, kF7));
  }
  OtherClient other;
  EXPECT_TRUE(other.Grab(XK_F7, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
}

}  // namespace
}  // namespace pelorin::lnx
