#include "linux/QtDialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "linux/LinuxScreen.h"
#include "linux/QtTimers.h"
#include "platform/QtTestApplication.h"
#include "sim/SimLog.h"
#include "support/TempDir.h"

namespace pelorin::lnx {
namespace {

using ports::DialogAnswer;
using ports::DialogButtons;
using ports::DialogIcon;
using ports::MessageRequest;
using Buttons = std::vector<QMessageBox::StandardButton>;

// Acts on the next message box once it is open and `ready` holds; nobody can click a
// box headless, so the test's own timer finds it and does.
void WhenBoxOpen(std::function<void(QMessageBox&)> act, std::function<bool()> ready = {}) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act), ready] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || (ready && !ready())) return;
    poll->stop();
    poll->deleteLater();
    act(*box);
  });
  poll->start(10);
}

Buttons ShownButtons(const QMessageBox& box) {
  Buttons shown;
  for (QAbstractButton* button : box.buttons())
    shown.push_back(box.standardButton(button));
  return shown;
}

class QtDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }
  QtDialogs dialogs;
};

TEST_F(QtDialogsTest, FourButtonQuestionAnswersWithTheClickedButton) {
  const std::pair<QMessageBox::StandardButton, DialogAnswer> cases[] = {
      {QMessageBox::Yes, DialogAnswer::Yes},
      {QMessageBox::No, DialogAnswer::No},
      {QMessageBox::NoToAll, DialogAnswer::NoToAll},
      {QMessageBox::YesToAll, DialogAnswer::YesToAll},
  };
  for (const auto& [button, answer] : cases) {
    Buttons shown;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    WhenBoxOpen([&, button = button](QMessageBox& box) {
      shown = ShownButtons(box);
      defaultButton = box.standardButton(box.defaultButton());
      box.button(button)->click();
    });
    MessageRequest request;
    request.text = "File not found. Remove it from the list?";
    request.buttons = DialogButtons::YesNoAll;
    EXPECT_EQ(dialogs.Show(request), answer) << button;
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (Buttons{QMessageBox::Yes, QMessageBox::YesToAll, QMessageBox::No,
                              QMessageBox::NoToAll}));
    EXPECT_EQ(defaultButton, QMessageBox::Yes);
  }
}

TEST_F(QtDialogsTest, EachButtonSetShowsItsButtonsAndEscapeGivesItsSafeAnswer) {
  const struct {
    DialogButtons buttons;
    Buttons shown;  // sorted
    DialogAnswer onEscape;
  } cases[] = {
      {DialogButtons::Ok, {QMessageBox::Ok}, DialogAnswer::Ok},
      {DialogButtons::OkCancel, {QMessageBox::Ok, QMessageBox::Cancel}, DialogAnswer::Cancel},
      {DialogButtons::YesNo, {QMessageBox::Yes, QMessageBox::No}, DialogAnswer::No},
      {DialogButtons::YesNoCancel,
       {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
       DialogAnswer::Cancel},
      {DialogButtons::YesNoAll,
       {QMessageBox::Yes, QMessageBox::YesToAll, QMessageBox::No, QMessageBox::NoToAll},
       DialogAnswer::No},
  };
  for (const auto& c : cases) {
    Buttons shown;
    WhenBoxOpen([&](QMessageBox& box) {
      shown = ShownButtons(box);
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QCoreApplication::sendEvent(&box, &escape);
    });
    MessageRequest request;
    request.buttons = c.buttons;
    EXPECT_EQ(dialogs.Show(request), c.onEscape) << static_cast<int>(c.buttons);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, c.shown) << static_cast<int>(c.buttons);
  }
}

TEST_F(QtDialogsTest, BoxesStayOnTopWithTheirTextWhileTimersFire) {
  QtTimers timers;
  int ticks = 0;
  auto ticker = timers.Create("ticker", 10, [&] { ++ticks; });
  ticker->SetEnabled(true);

  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  Qt::TextFormat format = Qt::AutoText;
  Qt::WindowModality modality = Qt::NonModal;
  bool onTop = false;
  // The box is answered only after the ticker has fired three times while it was open.
  int ticksAtOpen = -1;
  WhenBoxOpen(
      [&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        format = box.textFormat();
        modality = box.windowModality();
        onTop = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box.button(QMessageBox::Yes)->click();
      },
      [&] {
        if (ticksAtOpen < 0) ticksAtOpen = ticks;
        return ticks >= ticksAtOpen + 3;
      });
  MessageRequest request;
  request.caption = "Close Pelorin?";
  request.text = "Do you really want to close Pelorin?\r(all <unsaved> data will be saved)";
  request.icon = DialogIcon::Warning;
  request.buttons = DialogButtons::YesNo;
  request.systemModal = true;
  EXPECT_EQ(dialogs.Show(request), DialogAnswer::Yes);

  EXPECT_EQ(title, "Close Pelorin?");
  EXPECT_EQ(text, "Do you really want to close Pelorin?\n(all <unsaved> data will be saved)");
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(modality, Qt::ApplicationModal);
  EXPECT_TRUE(onTop);
  EXPECT_GE(ticks, ticksAtOpen + 3);

  // An ordinary box stays on top too: the suite's own always-on-top windows must not
  // cover it. While it waits, the suite does not move the pointer (the password
  // dialog's hold on it pauses), so that the box's buttons can be reached.
  sim::SimLog backendLog;
  LinuxScreen screen(backendLog);
  ports::ScreenPoint pointer{-1, -1};
  WhenBoxOpen([&](QMessageBox& box) {
    onTop = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    icon = box.icon();
    QCursor::setPos(200, 150);
    screen.SetCursorXY({5, 5});
    pointer = screen.GetCursorXY();
    box.button(QMessageBox::Ok)->click();
  });
  request.systemModal = false;
  request.icon = DialogIcon::Error;
  request.buttons = DialogButtons::Ok;
  EXPECT_EQ(dialogs.Show(request), DialogAnswer::Ok);
  EXPECT_TRUE(onTop);
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(pointer, (ports::ScreenPoint{200, 150}));
}

}  // namespace
}  // namespace pelorin::lnx

namespace pelorin::lnx {
namespace {

TEST(QtFileFilterTest, WindowsFiltersBecomeQtFilters) {
  EXPECT_EQ(QtFileFilter("Wave files (*.wav)|*.wav|All files (*.*)|*.*").toStdString(),
            "Wave files (*.wav);;All files (*.*)");
  EXPECT_EQ(QtFileFilter("Pictures|*.bmp;*.jpg").toStdString(), "Pictures (*.bmp *.jpg)");
  EXPECT_EQ(QtFileFilter("").toStdString(), "");
}

TEST_F(QtDialogsTest, FileChooserGivesTheChosenFileAndNothingWhenCancelled) {
  testing::TempDir folder;
  const std::string chosen = (folder / "bell.wav").string();
  testing::WriteBytes(folder / "bell.wav", "RIFF");
  const ports::OpenFileRequest request{.title = "Open sound WAV file",
                                       .filter = "Wave files (*.wav)|*.wav|All files (*.*)|*.*",
                                       .defaultExtension = "wav",
                                       .fileMustExist = true,
                                       .initialFile = folder.path().string() + "/"};
  auto answer = [](std::function<void(QFileDialog&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      poll->stop();
      poll->deleteLater();
      act(*dialog);
    });
    poll->start(10);
  };
  answer([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Open sound WAV file");
    dialog.selectFile(QString::fromStdString(chosen));
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  EXPECT_EQ(dialogs.ChooseFileToOpen(request), chosen);
  answer([](QFileDialog& dialog) { QMetaObject::invokeMethod(&dialog, "reject"); });
  EXPECT_EQ(dialogs.ChooseFileToOpen(request), "");
}

}  // namespace
}  // namespace pelorin::lnx
