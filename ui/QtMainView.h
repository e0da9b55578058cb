#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "core/MainView.h"
#include "ui/BusyBox.h"
#include "ui/LazyWidget.h"
#include "ui/MessageBalloon.h"
#include "ui/SubsystemWidgets.h"
#include "ui/TF_MainWidget.h"
#include "ui/TF_PassWidget.h"
#include "ui/TF_SleepWidget.h"

namespace pelorin {
class Suite;
}

namespace pelorin::ui {

// The core's user interface on Qt widgets: the main window (splash or strip), the
// fly-out anchor window, the animated tray icon, pop-up menus, the busy box, the
// message balloon, the password dialog and the sleep window; the windows of the applet
// subsystems come from their widget factories.
class QtMainView : public MainView {
 public:
  QtMainView();
  ~QtMainView() override;

  // Creates the widgets that talk to the suite's parts; once, before start-up.
  void Attach(Suite& suite);

  void PlaceMainWindow(int left, int top, int width, int height, bool splash,
                       bool visible) override;
  void RaiseMainWindow() override;
  void BringMainWindowToFront() override;
  void PlaceMixerFly(int left, int top) override;
  void BringMixerFlyToFront() override;
  void SetApplicationTitle(const std::string& title) override;
  void SetTaskbarButtonVisible(bool visible) override;
  void SetTrayIcon(bool visible, bool active) override;
  void SetTrayRinging(bool ringing) override;
  void PopupMenu(const MenuItem& menu, int x, int y) override;
  void ShowBusyBox(const std::string& caption, const std::string& text) override;
  void SetBusyProgress(int position) override;
  void HideBusyBox() override;
  void ShowMessageBalloon(const std::string& text) override;
  void EndProcess() override;

  bool TrayIconShown() const { return tray_ != nullptr && tray_->isVisible(); }
  bool BusyBoxShown() const { return busy_ != nullptr && busy_->isVisible(); }
  bool MessageBalloonShown() const { return balloon_ != nullptr && balloon_->isVisible(); }

 private:
  void NextTrayFrame();
  Suite* suite_ = nullptr;
  std::unique_ptr<TF_MainWidget> main_;
  std::unique_ptr<QWidget> mixerFly_;
  std::unique_ptr<QSystemTrayIcon> tray_;
  std::unique_ptr<QMenu> popup_;
  std::unique_ptr<BusyBox> busy_;
  std::unique_ptr<MessageBalloon> balloon_;
  std::unique_ptr<LazyWidget<TF_Pass, TF_PassWidget>> pass_;
  std::unique_ptr<LazyWidget<TF_Sleep, TF_SleepWidget>> sleep_;
  std::vector<std::unique_ptr<SubsystemWidgets>> subsystems_;
  ports::Subscription stripChanged_;
  // The clicked tray icon's place while its click pops a menu up: the menu opens
  // beside it.
  QRect trayIconArea_;
  QTimer trayAnimation_;
  int trayFrame_ = 0;
  bool trayActive_ = false;
  bool trayRinging_ = false;
};

}  // namespace pelorin::ui
