#include "ui/QtMainView.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "suite/Suite.h"
#include "ui/DialogStacking.h"
#include "ui/MenuBuilder.h"
#include "ui/MenuPlacement.h"
#include "ui/SuitePictures.h"
#include "ui/WindowManagerClose.h"

namespace pelorin::ui {

QtMainView::QtMainView() {
  QObject::connect(&trayAnimation_, &QTimer::timeout, [this] { NextTrayFrame(); });
}

QtMainView::~QtMainView() = default;

void QtMainView::Attach(Suite& suite) {
  suite_ = &suite;
  main_ = std::make_unique<TF_MainWidget>(suite.stripMouse(), suite.strip(), suite.main());
  stripChanged_ = suite.strip().changed.Subscribe([this] {
    if (main_ && main_->isVisible()) main_->update();
  });
  mixerFly_ = std::make_unique<QWidget>(
      nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
  mixerFly_->setAttribute(Qt::WA_ShowWithoutActivating);
  mixerFly_->setWindowTitle("Pelorin");
  mixerFly_->resize(94, 40);
  RefuseWindowManagerClose(*mixerFly_);
  // The busy box, the balloon and the dialogs are made when first needed: a start-up
  // without them stays quick. Once made, a widget follows its model itself.
  pass_ = std::make_unique<LazyWidget<TF_Pass, TF_PassWidget>>(suite.pass());
  sleep_ = std::make_unique<LazyWidget<TF_Sleep, TF_SleepWidget>>(suite.power().Sleep());
  subsystems_ = MakeSubsystemWidgets(suite);

  tray_ = std::make_unique<QSystemTrayIcon>(TrayFrame(0));
  tray_->setToolTip("--=[  Pelorin  ]=--");
  QObject::connect(tray_.get(), &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     if (!trayActive_ || suite_ == nullptr) return;
                     if (reason == QSystemTrayIcon::Context) {
                       const QPoint at = QCursor::pos();
                       trayIconArea_ = tray_->geometry();
                       suite_->commands().TrayRightClick(at.x(), at.y());
                       trayIconArea_ = QRect();
                     } else if (reason == QSystemTrayIcon::Trigger) {
                       suite_->commands().TrayLeftClick();
                     }
                   });
}

void QtMainView::PlaceMainWindow(int left, int top, int width, int height, bool splash,
                                 bool visible) {
  if (main_) main_->Place(left, top, width, height, splash, visible);
}

void QtMainView::RaiseMainWindow() {
  if (!main_ || !main_->isVisible()) return;
  main_->raise();
  KeepDialogsOnTop();
}

void QtMainView::BringMainWindowToFront() {
  if (!main_ || !main_->isVisible()) return;
  main_->raise();
  main_->activateWindow();
  KeepDialogsOnTop();
}

void QtMainView::PlaceMixerFly(int left, int top) {
  if (!mixerFly_) return;
  mixerFly_->move(left, top);
  // Parked above the screen it is hidden: window managers pull it back into view.
  const bool onScreen = left + mixerFly_->width() > 0 && top + mixerFly_->height() > 0;
  if (onScreen && !mixerFly_->isVisible()) mixerFly_->show();
  if (!onScreen && mixerFly_->isVisible()) mixerFly_->hide();
}

void QtMainView::BringMixerFlyToFront() {
  // Qt's pop-up menus close properly without a window of the suite in front; the
  // fly-out is raised only when it is on screen.
  if (!mixerFly_ || !mixerFly_->isVisible()) return;
  mixerFly_->raise();
}

void QtMainView::SetApplicationTitle(const std::string& title) {
  if (main_) main_->setWindowTitle(QString::fromStdString(title));
}

// On a Linux desktop each window of the suite has its own taskbar entry, shown while
// it is visible; there is no separate application button to show or hide.
void QtMainView::SetTaskbarButtonVisible(bool) {}

void QtMainView::SetTrayIcon(bool visible, bool active) {
  if (!tray_) return;
  trayActive_ = active;
  tray_->setVisible(visible);
  if (visible && active) {
    trayAnimation_.start(trayRinging_ ? 100 : 1000);
  } else {
    trayAnimation_.stop();
  }
}

void QtMainView::SetTrayRinging(bool ringing) {
  trayRinging_ = ringing;
  if (trayAnimation_.isActive()) trayAnimation_.setInterval(ringing ? 100 : 1000);
}

void QtMainView::NextTrayFrame() {
  trayFrame_ = (trayFrame_ + 1) % kTrayFrames;
  tray_->setIcon(TrayFrame(trayFrame_));
}

void QtMainView::PopupMenu(const MenuItem& menu, int x, int y) {
  // The menu takes the pointer, and its commands remove the message balloon too.
  if (balloon_) balloon_->Remove();
  popup_ = std::make_unique<QMenu>();
  FillMenu(*popup_, menu);
  QObject::connect(popup_.get(), &QMenu::triggered, popup_.get(), [this] {
    if (balloon_) balloon_->Remove();
  });
  const QPoint pointer(x, y);
  const QScreen* screen = QGuiApplication::screenAt(pointer);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QPoint at = screen != nullptr ? MenuPlacement(pointer, popup_->sizeHint(),
                                                      screen->availableGeometry(), trayIconArea_)
                                      : pointer;
  popup_->popup(at);
}

void QtMainView::ShowBusyBox(const std::string& caption, const std::string& text) {
  if (!busy_) busy_ = std::make_unique<BusyBox>();
  busy_->Show(QString::fromStdString(caption), QString::fromStdString(text));
}

void QtMainView::SetBusyProgress(int position) {
  if (busy_) busy_->SetProgress(position);
}

void QtMainView::HideBusyBox() {
  if (busy_) busy_->hide();
}

void QtMainView::ShowMessageBalloon(const std::string& text) {
  if (!balloon_) balloon_ = std::make_unique<MessageBalloon>();
  balloon_->ShowMessage(QString::fromStdString(text));
}

void QtMainView::EndProcess() {
  trayAnimation_.stop();
  if (tray_) tray_->hide();
  if (main_) main_->hide();
  if (mixerFly_) mixerFly_->hide();
  if (busy_) busy_->hide();
  if (pass_) pass_->Hide();
  if (sleep_) sleep_->Hide();
  for (const std::unique_ptr<SubsystemWidgets>& widgets : subsystems_)
    widgets->HideAll();
  if (balloon_) balloon_->Remove();
  // Leave the event loop once the current handler has returned.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

}  // namespace pelorin::ui
