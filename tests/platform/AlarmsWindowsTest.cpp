// The reminder's and Duzuzoze's windows offscreen: made when first shown, following
// their models, and handing edits and clicks to them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "alarms/AlarmsOnSim.h"
#include "platform/QtTestApplication.h"
#include "ui/SubsystemWidgets.h"
#include "ui/alarms/TF_ClockWidget.h"
#include "ui/alarms/TF_TimeWidget.h"

namespace pelorin::ui {
namespace {

template <typename Widget>
Widget* Shown() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* shown = qobject_cast<Widget*>(w); shown != nullptr && shown->isVisible())
      return shown;
  }
  return nullptr;
}

QPushButton* Button(QWidget& window, const QString& text) {
  for (QPushButton* b : window.findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

class AlarmsWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { pelorin::testing::EnsureQtApplication(); }
};

TEST_F(AlarmsWindowsTest, TheReminderWindowShowsTheListAndAddsInTwoSteps) {
  pelorin::testing::AlarmsOnSim sim;
  sim.WriteReminder(
      "[SYSTEM]\r\nCount=1\r\n[0]\r\nCaption=Wake\r\nHour=07\r\nMin=00\r\n"
      "Enabled=1\r\nDay1=1\r\nDay3=1\r\n");
  const auto widgets = MakeSubsystemWidgets(sim.suite);
  EXPECT_EQ(Shown<TF_ClockWidget>(), nullptr);  // nothing is made before it shows

  sim.alarms.Reminder().FormShow();
  TF_ClockWidget* window = Shown<TF_ClockWidget>();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Reminder");
  auto* list = window->findChild<QTreeWidget*>();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "Wake");
  EXPECT_EQ(list->topLevelItem(0)->text(2), "Mon,Wed");
  EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);

  Button(*window, "Add")->click();
  ASSERT_NE(Button(*window, "OK"), nullptr);
  EXPECT_EQ(Button(*window, "Cancel")->toolTip(), "Cancel");
  EXPECT_FALSE(list->isEnabled());
  Button(*window, "OK")->click();
  EXPECT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(1)->text(0), "Without title");

  // Unchecking a row writes it at once.
  list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(sim.Reminder().ReadBool("0", "Enabled", true));

  window->close();
  EXPECT_FALSE(sim.alarms.Reminder().Visible());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(AlarmsWindowsTest, DuzuzozeFollowsItsClockAndItsButtons) {
  pelorin::testing::AlarmsOnSim sim;
  const auto widgets = MakeSubsystemWidgets(sim.suite);
  sim.SetClock(2026, 1, 5, 21, 5, 10);
  sim.alarms.Duzuzoze().FormShow();
  TF_TimeWidget* window = Shown<TF_TimeWidget>();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Duzuzoze");
  sim.timers.Advance(500);
  bool clockShown = false;
  for (QLabel* label : window->findChildren<QLabel*>())
    clockShown |= label->text().startsWith("21") && label->text().endsWith("05");
  EXPECT_TRUE(clockShown);

  Button(*window, "Start")->click();  // the stopwatch's
  sim.timers.Advance(1000);
  bool stopwatchShown = false;
  for (QLabel* label : window->findChildren<QLabel*>())
    stopwatchShown |= label->text() == "00:00:01.00";
  EXPECT_TRUE(stopwatchShown);
}

}  // namespace
}  // namespace pelorin::ui
