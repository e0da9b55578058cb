#include "linux/PointerConfinement.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace pelorin::lnx {
namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

xcb_window_t RootWindow(xcb_connection_t* connection) {
  return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// Why the server did not grab the pointer: a grab status or an X error.
std::string GrabRefusalText(const xcb_grab_pointer_reply_t* reply,
                            const xcb_generic_error_t* error) {
  if (reply == nullptr) {
    return "X error " + std::to_string(error != nullptr ? error->error_code : 0);
  }
  switch (reply->status) {
    case XCB_GRAB_STATUS_ALREADY_GRABBED:
      return "another client holds the pointer";
    case XCB_GRAB_STATUS_INVALID_TIME:
      return "invalid time";
    case XCB_GRAB_STATUS_NOT_VIEWABLE:
      return "the confining window is not viewable";
    case XCB_GRAB_STATUS_FROZEN:
      return "the pointer is frozen by another grab";
    default:
      return "grab status " + std::to_string(reply->status);
  }
}

}  // namespace

PointerConfinement::PointerConfinement(ports::Log& log) : log_(log) {
  if (QCoreApplication::instance() != nullptr)
    QCoreApplication::instance()->installEventFilter(this);
}

PointerConfinement::~PointerConfinement() {
  Release();
}

xcb_connection_t* PointerConfinement::Connection() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr) return nullptr;
  auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

bool PointerConfinement::PopupShown() {
  const QWindowList windows = QGuiApplication::topLevelWindows();
  return std::any_of(windows.begin(), windows.end(), [](const QWindow* window) {
    return window->isVisible() && window->type() == Qt::Popup;
  });
}

bool PointerConfinement::Suspend() {
  if (QGuiApplication::modalWindow() != nullptr) {
    Ungrab();
    return true;
  }
  if (PopupShown()) {
    // The pop-up's own grab takes the place of ours (a second grab of the same client
    // replaces the first), and ungrabbing now would take the pointer from the pop-up.
    grabbed_ = false;
    return true;
  }
  return false;
}

bool PointerConfinement::Confine(ports::ScreenArea area) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr || area.right < area.left || area.bottom < area.top) {
    Release();
    return false;
  }
  const std::uint32_t values[] = {
      static_cast<std::uint32_t>(area.left), static_cast<std::uint32_t>(area.top),
      static_cast<std::uint32_t>(area.right - area.left + 1),
      static_cast<std::uint32_t>(area.bottom - area.top + 1), XCB_STACK_MODE_BELOW};
  if (window_ == 0) {
    // Override-redirect keeps the window manager out of it; at the bottom of the
    // stack it lies beneath the dialog and takes none of its clicks.
    window_ = xcb_generate_id(connection);
    const std::uint32_t overrideRedirect = 1;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window_, RootWindow(connection),
                      static_cast<std::int16_t>(area.left), static_cast<std::int16_t>(area.top),
                      static_cast<std::uint16_t>(values[2]), static_cast<std::uint16_t>(values[3]),
                      0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                      XCB_CW_OVERRIDE_REDIRECT, &overrideRedirect);
    xcb_map_window(connection, window_);
  }
  xcb_configure_window(connection, window_,
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                           XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_STACK_MODE,
                       values);
  area_ = area;
  if (Suspend()) {
    // Taken up when the message box or pop-up closes.
    xcb_flush(connection);
    return true;
  }
  if (Grab(connection)) return true;
  Release();
  return false;
}

bool PointerConfinement::Grab(xcb_connection_t* connection) {
  // Grabbing again while our grab holds replaces it, with the moved window.
  xcb_generic_error_t* rawError = nullptr;
  std::unique_ptr<xcb_grab_pointer_reply_t, FreeDeleter> reply(xcb_grab_pointer_reply(
      connection,
      xcb_grab_pointer(connection, 1, window_, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, window_,
                       XCB_NONE, XCB_CURRENT_TIME),
      &rawError));
  const std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(rawError);
  grabbed_ = reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS;
  if (!grabbed_) {
    log_.Write("pointer", "the X server refused to hold the pointer: " +
                              GrabRefusalText(reply.get(), error.get()));
  }
  return grabbed_;
}

void PointerConfinement::Ungrab() {
  if (!grabbed_) return;
  grabbed_ = false;
  if (xcb_connection_t* connection = Connection()) xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
}

void PointerConfinement::DestroyWindow() {
  if (window_ == 0) return;
  if (xcb_connection_t* connection = Connection()) xcb_destroy_window(connection, window_);
  window_ = 0;
}

void PointerConfinement::Release() {
  // The server ends a grab whose confining window goes, so destroying the window lets
  // the pointer go also where a pop-up's grab stood in for ours in the meantime.
  area_.reset();
  Ungrab();
  DestroyWindow();
  if (xcb_connection_t* connection = Connection()) xcb_flush(connection);
}

bool PointerConfinement::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (area_ && (type == QEvent::Show || type == QEvent::Hide) && watched->isWindowType() &&
      !reconsiderQueued_) {
    // The modal and pop-up state is settled once the show or hide is done.
    reconsiderQueued_ = true;
    QMetaObject::invokeMethod(this, &PointerConfinement::Reconsider, Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

void PointerConfinement::Reconsider() {
  reconsiderQueued_ = false;
  xcb_connection_t* connection = Connection();
  if (!area_ || connection == nullptr) return;
  if (Suspend()) {
    xcb_flush(connection);
  } else if (!grabbed_ && !Grab(connection)) {
    // Another client took the pointer meanwhile: the hold lapses, as the server
    // leaves us no way to keep it; the next confinement (the dialog moved or shown
    // again) asks once more.
    Release();
  }
}

}  // namespace pelorin::lnx
