#include <gtest/gtest.h>

#include "alarms/AlarmsOnSim.h"
#include "core/CoreHotkeys.h"
#include "core/MenuItemIds.h"
#include "core/ProfileLoader.h"
#include "storage/ScrambledFiles.h"

namespace pelorin {
namespace {

using testing::AlarmsOnSim;

TEST(AlarmsLoadTest, AProfileLoadSilencesThenRestartsTheReminderAfresh) {
  AlarmsOnSim sim;
  ASSERT_TRUE(sim.suite.context().files.CreateEmptyProfileFiles(sim.suite.values().ProfileDir));
  std::filesystem::create_directories(sim.suite.context().layout.ProfileBackupDir("Master"));
  sim.WriteClock("[SYSTEM]\r\nMode12=1\r\n");
  sim.WriteReminder("[SYSTEM]\r\nHotkey=1119\r\n");  // Ctrl + F8
  sim.alarms.Ring().PrepareSound(sim.MakeWave("bell.wav").string(), ports::Repeat::Loop);
  sim.alarms.Ring().StartRing();
  sim.alarms.DueCheck().Start();
  sim.alarms.DueCheck().RemTimerTimer();

  std::vector<std::string> ran;
  const ports::Subscription recording = sim.suite.steps().loadProfile.ran.Subscribe(
      [&ran](std::string_view what) { ran.emplace_back(what); });
  sim.suite.loader().LoadProfile("Master");

  EXPECT_FALSE(sim.alarms.Ring().Ringing());
  EXPECT_TRUE(sim.alarms.DueCheck().Running());
  EXPECT_EQ(sim.alarms.DueCheck().LastRingMinute(), "99:99");
  EXPECT_FALSE(sim.alarms.DueCheck().ChimeDone());
  EXPECT_TRUE(sim.alarms.Duzuzoze().Mode12());
  EXPECT_EQ(sim.suite.hotkeys().Keys().Reminder, (THotkey{.Key = 0x77, .Ctrl = 1}));
  // The reminder's rows run where the load's order puts them.
  const auto at = [&ran](const char* what) {
    return std::find(ran.begin(), ran.end(), what) - ran.begin();
  };
  EXPECT_LT(at("stop the reminder's timer"), at("StopRing"));
  EXPECT_LT(at("StopRing"), at("CloseAllWindows"));
  EXPECT_LT(at("clock.hif into Duzuzoze"), at("the reminder's timer starts"));
  EXPECT_LT(at("the reminder's timer starts"), static_cast<long>(ran.size()));
}

TEST(AlarmsLoadTest, TheMenuShowsBothWindowsAndCloseAllWindowsHidesThem) {
  AlarmsOnSim sim;
  sim.suite.values().MenuFlags.fill(true);
  sim.suite.context().commands.Click(menu_item::kClock);
  sim.suite.context().commands.Click(menu_item::kTime);
  EXPECT_TRUE(sim.alarms.Reminder().Visible());
  EXPECT_TRUE(sim.alarms.Duzuzoze().Visible());
  EXPECT_TRUE(sim.suite.context().places.AnyTaskbarWindowVisible());
  sim.suite.steps().closeAllWindows.Run([] { return true; });
  EXPECT_FALSE(sim.alarms.Reminder().Visible());
  EXPECT_FALSE(sim.alarms.Duzuzoze().Visible());
}

}  // namespace
}  // namespace pelorin
