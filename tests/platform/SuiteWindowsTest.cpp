// The suite's Qt windows offscreen: close requests from the window manager, the
// pictures of the menus and the message balloon's end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <vector>

#include "core/SuiteOnSim.h"
#include "core/TF_Main.h"
#include "platform/QtTestApplication.h"
#include "ui/BusyBox.h"
#include "ui/MenuBuilder.h"
#include "ui/MenuPictures.h"
#include "ui/QtMainView.h"
#include "ui/TF_MainWidget.h"

namespace pelorin::ui {
namespace {

QImage ImageOf(const QIcon& icon) {
  return icon.pixmap(32, 32).toImage();
}

class SuiteWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }
};

TEST_F(SuiteWindowsTest, StripRefusesTheWindowManagersCloseUntilShutdown) {
  testing::SuiteOnSim sim;
  TF_MainWidget strip(sim.suite.stripMouse(), sim.suite.strip(), sim.suite.main());
  strip.Place(100, 100, TF_Main::kStripWidth, TF_Main::kStripHeight, false, true);
  ASSERT_TRUE(strip.isVisible());

  EXPECT_FALSE(strip.close());
  EXPECT_TRUE(strip.isVisible());
  EXPECT_EQ(strip.pos(), QPoint(100, 100));
  EXPECT_FALSE(sim.suite.lifetime().Running);  // the refused close's saving ran

  sim.suite.main().PrepareShutdown();
  EXPECT_TRUE(strip.close());
}

TEST_F(SuiteWindowsTest, BusyBoxStaysUntilTheSuiteHidesIt) {
  BusyBox busy;
  busy.Show("Loading", "Loading profile Master");
  EXPECT_FALSE(busy.close());
  EXPECT_TRUE(busy.isVisible());
  busy.hide();
  EXPECT_FALSE(busy.isVisible());
}

TEST_F(SuiteWindowsTest, EveryMenuPictureIsItsOwn) {
  std::vector<QImage> seen;
  auto distinct = [&seen](const QIcon& icon) {
    const QImage image = ImageOf(icon);
    for (const QImage& other : seen) {
      if (other == image) return false;
    }
    seen.push_back(image);
    return !icon.isNull();
  };
  for (int picture = 1; picture < kMenuPictureCount; ++picture) {
    EXPECT_TRUE(distinct(MenuPictureIcon(static_cast<MenuPicture>(picture)))) << picture;
  }
  seen.clear();  // a style may look like a main item (a program like Programs itself)
  for (int style = 0; style < kProgramStyles; ++style) {
    EXPECT_TRUE(distinct(ProgramStyleIcon(style))) << "style " << style;
  }
  EXPECT_TRUE(MenuPictureIcon(MenuPicture::None).isNull());
  EXPECT_TRUE(ProgramStyleIcon(kProgramStyles).isNull());  // an entry's own icon
  EXPECT_TRUE(ProgramStyleIcon(-1).isNull());
}

TEST_F(SuiteWindowsTest, MenuShowsEachItemsPicture) {
  MenuItem root;
  MenuItem exit;
  exit.caption = "Exit";
  exit.picture = MenuPicture::Exit;
  MenuItem entry;
  entry.caption = "Editor";
  entry.programPicture = 5;
  MenuItem profile;
  profile.caption = "Work";
  profile.radio = true;
  MenuItem power;
  power.caption = "Power";
  power.picture = MenuPicture::Power;
  MenuItem powerOff;
  powerOff.caption = "Power off";
  powerOff.picture = MenuPicture::PowerOff;
  power.children = {powerOff};
  root.children = {exit, entry, profile, power};

  QMenu menu;
  FillMenu(menu, root);
  const QList<QAction*> actions = menu.actions();
  ASSERT_EQ(actions.size(), 4);
  EXPECT_EQ(ImageOf(actions[0]->icon()), ImageOf(MenuPictureIcon(MenuPicture::Exit)));
  EXPECT_EQ(ImageOf(actions[1]->icon()), ImageOf(ProgramStyleIcon(5)));
  EXPECT_TRUE(actions[2]->icon().isNull());
  EXPECT_EQ(ImageOf(actions[3]->icon()), ImageOf(MenuPictureIcon(MenuPicture::Power)));
  ASSERT_NE(actions[3]->menu(), nullptr);
  EXPECT_EQ(ImageOf(actions[3]->menu()->actions().at(0)->icon()),
            ImageOf(MenuPictureIcon(MenuPicture::PowerOff)));
}

// The balloon goes when a menu pops up (the menu takes the pointer) and when a menu
// command is chosen.
TEST_F(SuiteWindowsTest, MenuCommandRemovesTheMessageBalloon) {
  QtMainView view;
  MenuItem root;
  MenuItem item;
  item.caption = "i-Panel";
  int clicks = 0;
  item.onClick = [&clicks] { ++clicks; };
  root.children = {item};

  view.ShowMessageBalloon("  CD Agent\rDisc is password protected");
  ASSERT_TRUE(view.MessageBalloonShown());
  view.PopupMenu(root, 300, 200);
  EXPECT_FALSE(view.MessageBalloonShown());

  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  view.ShowMessageBalloon("  CD Agent\rAnother message");
  ASSERT_TRUE(view.MessageBalloonShown());
  menu->actions().at(0)->trigger();
  EXPECT_FALSE(view.MessageBalloonShown());
  EXPECT_TRUE(testing::ProcessEventsUntil([&clicks] { return clicks == 1; }));
}

}  // namespace
}  // namespace pelorin::ui
