#pragma once

#include <QObject>
#include <cstdint>
#include <optional>

#include "ports/Log.h"
#include "ports/Screen.h"

struct xcb_connection_t;

namespace pelorin::lnx {

// Keeps the mouse pointer inside a screen area through the X server: an active
// pointer grab confined to an input-only window that covers the area. The server
// holds the pointer there by itself, so the hold costs nothing while it lasts. The
// grab reports the suite's own windows' events to them as usual (clicks and typing
// in the dialog go on), and the keyboard is not grabbed.
//
// A modal message box or a pop-up menu of the suite opened above suspends the hold
// until it closes: the message's buttons must be reachable, and a pop-up takes the
// pointer grab for itself.
//
// A grab the server refuses is one line of the log (source "pointer") with the
// server's reason.
class PointerConfinement : public QObject {
 public:
  explicit PointerConfinement(ports::Log& log);
  ~PointerConfinement() override;
  PointerConfinement(const PointerConfinement&) = delete;
  PointerConfinement& operator=(const PointerConfinement&) = delete;

  // False when the server refuses the grab (another client holds the pointer) or
  // there is no X display; nothing is held then.
  bool Confine(ports::ScreenArea area);
  void Release();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static xcb_connection_t* Connection();
  static bool PopupShown();
  // While a modal window or a pop-up of the suite is shown the grab is let go; true
  // then.
  bool Suspend();
  bool Grab(xcb_connection_t* connection);
  void Ungrab();
  void DestroyWindow();
  // After a window of the suite was shown or hidden: the hold suspended or resumed.
  void Reconsider();

  ports::Log& log_;
  std::optional<ports::ScreenArea> area_;  // the area asked for, while it is held
  std::uint32_t window_ = 0;               // the input-only window over the area
  bool grabbed_ = false;
  bool reconsiderQueued_ = false;
};

}  // namespace pelorin::lnx
