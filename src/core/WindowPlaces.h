#pragma once

#include <array>
#include <functional>
#include <vector>

#include "core/SharedValues.h"

namespace pelorin {

struct CoreContext;
class MainWindowPlace;
class SettingsFile;

// The windows whose places the core keeps in status.hif (section WPOS).
enum class AppletWindow { Run, Note, Tel, DB, Rem, Shed, Time, CDA, PCA };

// The places of the applet windows: placed inside the screen when a profile loads,
// kept as the windows move, and saved with the main window's place in status.hif. The
// notebook, phone book and day book keep theirs in the shared values. Also the list of
// windows whose visibility shows the taskbar button.
class WindowPlaces {
 public:
  struct WindowSize {
    int width = 0;
    int height = 0;
  };

  WindowPlaces(CoreContext& ctx, const MainWindowPlace& mainWindow);

  WindowPlace PlaceOf(AppletWindow window) const;
  void SetPlace(AppletWindow window, WindowPlace place);
  // The size the placement keeps each window inside the screen with. The windows of
  // the applets tell theirs; the notebook, day book and phone book have fixed sizes.
  WindowSize SizeOf(AppletWindow window) const;
  void SetWindowSize(AppletWindow window, WindowSize size);

  // Every window from status.hif, in the placement order; the main window is moved by
  // its owner.
  void PlaceWindows(const SettingsFile& status);
  // status.hif POSITION and WPOS, then its backup. Nothing before a load has placed the
  // windows: a load that failed early never overwrites the stored places.
  void SaveWindowPositions();
  // A new load begins: the places are saved again only once it has placed the windows.
  void ForgetPlacement() { placed_ = false; }

  // A window that shows the taskbar button while it is visible.
  void AddTaskbarWindow(std::function<bool()> visible);
  bool AnyTaskbarWindowVisible() const;

 private:
  static std::size_t IndexOf(AppletWindow window);

  CoreContext& ctx_;
  const MainWindowPlace& mainWindow_;
  std::array<WindowPlace, 9> places_{};
  std::array<WindowSize, 9> sizes_{};
  bool placed_ = false;
  std::vector<std::function<bool()>> taskbarWindows_;
};

}  // namespace pelorin
