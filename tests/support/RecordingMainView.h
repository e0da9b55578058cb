#pragma once

#include <string>
#include <vector>

#include "core/MainView.h"

namespace pelorin::testing {

// The user interface as scenario tests see it: the last state of everything, and the
// pop-ups, balloons and busy-box steps in order.
class RecordingMainView : public MainView {
 public:
  struct Window {
    int left = -4000, top = 0, width = 0, height = 0;
    bool splash = false, visible = false;
  };
  struct Popup {
    MenuItem menu;
    int x, y;
  };

  void PlaceMainWindow(int left, int top, int width, int height, bool splash,
                       bool visible) override {
    mainWindow = {left, top, width, height, splash, visible};
  }
  void RaiseMainWindow() override { ++raises; }
  void BringMainWindowToFront() override { ++mainWindowFronts; }
  void PlaceMixerFly(int left, int top) override {
    mixerFlyLeft = left;
    mixerFlyTop = top;
  }
  void BringMixerFlyToFront() override { ++mixerFlyFronts; }
  void SetApplicationTitle(const std::string& text) override { title = text; }
  void SetTaskbarButtonVisible(bool v) override { taskbarButton = v; }
  void SetTrayIcon(bool v, bool a) override {
    trayVisible = v;
    trayActive = a;
  }
  void SetTrayRinging(bool r) override { trayRinging = r; }
  void PopupMenu(const MenuItem& menu, int x, int y) override { popups.push_back({menu, x, y}); }
  void ShowBusyBox(const std::string& caption, const std::string& text) override {
    busyVisible = true;
    busyCaption = caption;
    busyText = text;
    busyProgress.clear();
  }
  void SetBusyProgress(int p) override { busyProgress.push_back(p); }
  void HideBusyBox() override { busyVisible = false; }
  void ShowMessageBalloon(const std::string& text) override { balloons.push_back(text); }
  void EndProcess() override { ++endProcessCalls; }

  Window mainWindow;
  int raises = 0;
  int mainWindowFronts = 0;
  int mixerFlyLeft = 0, mixerFlyTop = 0, mixerFlyFronts = 0;
  std::string title;
  bool taskbarButton = false;
  bool trayVisible = false, trayActive = false, trayRinging = false;
  std::vector<Popup> popups;
  bool busyVisible = false;
  std::string busyCaption, busyText;
  std::vector<int> busyProgress;
  std::vector<std::string> balloons;
  int endProcessCalls = 0;
};

}  // namespace pelorin::testing
