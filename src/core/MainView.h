#pragma once

#include <string>

#include "core/MenuItem.h"

namespace pelorin {

// What the core asks of the user interface: the main window (splash, status strip or
// parked off screen), the tray icon, pop-up menus, the busy box, the message balloon,
// the application title and taskbar button, and the end of the process. The Qt
// widgets implement it; scenario tests record it.
class MainView {
 public:
  virtual ~MainView() = default;

  // The main window's place and size; `splash` shows the splash picture (300x377)
  // instead of the status strip (97x33). `visible` false hides it.
  virtual void PlaceMainWindow(int left, int top, int width, int height, bool splash,
                               bool visible) = 0;
  // Makes the main window topmost again without moving or activating it.
  virtual void RaiseMainWindow() = 0;
  // Brings the main window to the foreground (raised and active) when it is shown.
  virtual void BringMainWindowToFront() = 0;
  // TF_MixerFly: the small always-present window that serves as the foreground window
  // for tray menus and as an on-screen indicator.
  virtual void PlaceMixerFly(int left, int top) = 0;
  virtual void BringMixerFlyToFront() = 0;

  virtual void SetApplicationTitle(const std::string& title) = 0;
  virtual void SetTaskbarButtonVisible(bool visible) = 0;

  // The tray icon: shown or not; `active` false makes it inert (at shutdown).
  virtual void SetTrayIcon(bool visible, bool active) = 0;
  // The icon's animation: a frame every 100 ms while something rings, every second
  // otherwise.
  virtual void SetTrayRinging(bool ringing) = 0;

  // Pops a menu up at a screen position; the items call back when clicked.
  virtual void PopupMenu(const MenuItem& menu, int x, int y) = 0;

  virtual void ShowBusyBox(const std::string& caption, const std::string& text) = 0;
  virtual void SetBusyProgress(int position) = 0;  // 0..100
  virtual void HideBusyBox() = 0;

  // MessHint: the borderless message balloon at (100, 100); a new one replaces it.
  virtual void ShowMessageBalloon(const std::string& text) = 0;

  // Ends the process: nothing of the suite runs after the current handler returns.
  virtual void EndProcess() = 0;
};

}  // namespace pelorin
