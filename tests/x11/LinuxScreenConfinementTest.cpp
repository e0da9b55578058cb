#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QWindow>
#include <cstdlib>
#include <memory>

#include "linux/LinuxScreen.h"
#include "sim/SimLog.h"

namespace pelorin::lnx {
namespace {

using ports::ScreenArea;
using ports::ScreenPoint;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

// Another X client: it moves the pointer the ways the user's programs do, tells where
// it stands, and can hold the pointer itself.
class OtherClient {
 public:
  OtherClient() : connection_(xcb_connect(nullptr, nullptr)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  }
  ~OtherClient() { xcb_disconnect(connection_); }

  // The pointer sent to a point: warped by this client, or moved by xdotool as the
  // mouse would move it (a motion of the XTEST device).
  void Warp(ScreenPoint to) {
    xcb_warp_pointer(connection_, XCB_NONE, root_, 0, 0, 0, 0, static_cast<std::int16_t>(to.x),
                     static_cast<std::int16_t>(to.y));
    xcb_flush(connection_);
  }
  static void MoveWithXdotool(ScreenPoint to) {
    ASSERT_EQ(
        QProcess::execute("xdotool", {"mousemove", QString::number(to.x), QString::number(to.y)}),
        0);
  }
  ScreenPoint Pointer() {
    std::unique_ptr<xcb_query_pointer_reply_t, FreeDeleter> reply(
        xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr));
    return reply ? ScreenPoint{reply->root_x, reply->root_y} : ScreenPoint{-1, -1};
  }
  bool GrabPointer() {
    std::unique_ptr<xcb_grab_pointer_reply_t, FreeDeleter> reply(xcb_grab_pointer_reply(
        connection_,
        xcb_grab_pointer(connection_, 0, root_, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                         XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
        nullptr));
    return reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
  }
  void UngrabPointer() {
    xcb_ungrab_pointer(connection_, XCB_CURRENT_TIME);
    Pointer();  // a round trip: the ungrab is done before anyone asks again
  }

 private:
  xcb_connection_t* connection_;
  xcb_window_t root_;
};

class LinuxScreenConfinement : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(QCoreApplication::instance(), nullptr); }
  void TearDown() override { screen.ReleasePointer(); }

  // Where the pointer ends after another client warped it to `to`.
  ScreenPoint WarpedTo(ScreenPoint to) {
    other.Warp(to);
    return other.Pointer();
  }
  // Where it ends after being moved there with xdotool, as the mouse would move it.
  // (Confinement is checked with warps: under Xvfb, xdotool's XTEST motion passes a
  // confinement now and then, which a real pointer device does not.)
  ScreenPoint MovedTo(ScreenPoint to) {
    OtherClient::MoveWithXdotool(to);
    return other.Pointer();
  }
  // Lets queued work of the suite's side run and its requests reach the server.
  static void Settle() {
    for (int i = 0; i < 5; ++i)
      QCoreApplication::processEvents();
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  }

  sim::SimLog backendLog;
  LinuxScreen screen{backendLog};
  OtherClient other;
};

TEST_F(LinuxScreenConfinement, ThePointerStaysInsideTheAreaUntilReleased) {
  const ScreenArea area{100, 120, 300, 250};
  other.Warp({700, 600});
  ASSERT_TRUE(screen.ConfinePointer(area));
  EXPECT_EQ(other.Pointer(), (ScreenPoint{300, 250})) << "moved in at once";

  struct Case {
    ScreenPoint to, ends;
  };
  for (const Case& c :
       {Case{{10, 10}, {100, 120}}, Case{{1000, 700}, {300, 250}}, Case{{200, 5}, {200, 120}},
        Case{{150, 200}, {150, 200}}, Case{{300, 250}, {300, 250}}, Case{{301, 251}, {300, 250}}}) {
    EXPECT_EQ(WarpedTo(c.to), c.ends) << c.to.x << "," << c.to.y;
  }

  // Moved: the hold goes along to the new place.
  ASSERT_TRUE(screen.ConfinePointer({500, 400, 600, 450}));
  EXPECT_EQ(WarpedTo({10, 10}), (ScreenPoint{500, 400}));
  EXPECT_EQ(WarpedTo({1270, 790}), (ScreenPoint{600, 450}));

  screen.ReleasePointer();
  EXPECT_EQ(MovedTo({10, 10}), (ScreenPoint{10, 10}));
  EXPECT_EQ(WarpedTo({1000, 700}), (ScreenPoint{1000, 700}));
}

TEST_F(LinuxScreenConfinement, IsRefusedWhileAnotherClientHoldsThePointer) {
  ASSERT_TRUE(other.GrabPointer());
  EXPECT_FALSE(screen.ConfinePointer({100, 100, 200, 200}));
  EXPECT_EQ(WarpedTo({10, 10}), (ScreenPoint{10, 10}));
  other.UngrabPointer();
  // Once the other program let go, a new confinement holds again.
  ASSERT_TRUE(screen.ConfinePointer({100, 100, 200, 200}));
  EXPECT_EQ(WarpedTo({10, 10}), (ScreenPoint{100, 100}));
}

TEST_F(LinuxScreenConfinement, AModalWindowOfTheSuiteSuspendsTheHoldUntilItCloses) {
  ASSERT_TRUE(screen.ConfinePointer({100, 100, 200, 200}));
  QWindow message;
  message.setModality(Qt::ApplicationModal);
  message.resize(100, 50);
  message.show();
  Settle();
  EXPECT_EQ(WarpedTo({10, 10}), (ScreenPoint{10, 10})) << "free while the message is shown";
  // Confining while the message is shown (the dialog moved) waits for it to close.
  ASSERT_TRUE(screen.ConfinePointer({150, 150, 250, 250}));
  EXPECT_EQ(WarpedTo({10, 10}), (ScreenPoint{10, 10}));

  message.hide();
  Settle();
  EXPECT_EQ(WarpedTo({10, 10}), (ScreenPoint{150, 150})) << "held again once it closed";
}

}  // namespace
}  // namespace pelorin::lnx
