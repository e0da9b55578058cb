#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "core/MainView.h"
#include "ui/BusyBox.h"
#include "ui/MessageBalloon.h"
#include "ui/TF_MainWidget.h"
#include "ui/TF_PassWidget.h"
#include "ui/TF_ProfileWidget.h"
#include "ui/TF_SProfileWidget.h"
#include "ui/TF_SleepWidget.h"

namespace pelorin {
class Suite;
}

namespace pelorin::ui {

// The core's user interface on Qt widgets: the main window (splash or strip), the
// fly-out anchor window, the animated tray icon, pop-up menus, the busy box, the
// message balloon, the password dialog, the two profile windows and the sleep window.
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
  void SetTrayIcon(bool visible, bool active, bool ringing) override;
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
  // Makes the widget of a window model the first time the model shows its window; the
  // widget then takes the model's `changed` over.
  template <typename Model, typename Widget>
  static void ShowWhenNeeded(Model& model, std::unique_ptr<Widget>& widget) {
    model.changed = [&model, &widget] {
      // The widget replaces this very function: keep what it needs on the stack.
      Model* shown = &model;
      std::unique_ptr<Widget>* made = &widget;
      if (*made || !shown->Visible()) return;
      *made = std::make_unique<Widget>(*shown);
      (*made)->Refresh();
    };
  }

  Suite* suite_ = nullptr;
  std::unique_ptr<TF_MainWidget> main_;
  std::unique_ptr<QWidget> mixerFly_;
  std::unique_ptr<QSystemTrayIcon> tray_;
  std::unique_ptr<QMenu> popup_;
  std::unique_ptr<BusyBox> busy_;
  std::unique_ptr<MessageBalloon> balloon_;
  std::unique_ptr<TF_PassWidget> pass_;
  std::unique_ptr<TF_SProfileWidget> selector_;
  std::unique_ptr<TF_ProfileWidget> profileEditor_;
  std::unique_ptr<TF_SleepWidget> sleep_;
  // The clicked tray icon's place while its click pops a menu up: the menu opens
  // beside it.
  QRect trayIconArea_;
  QTimer trayAnimation_;
  int trayFrame_ = 0;
  bool trayActive_ = false;
};

}  // namespace pelorin::ui
