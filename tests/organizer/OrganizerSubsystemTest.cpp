// The organizer in the whole suite: the profile load starts its check, a due message
// pops up and rings through the alarms' ring service, and the core's sequences (menu,
// closing the windows, sleep and wake-up) reach its windows.
#include <gtest/gtest.h>

#include "alarms/AlarmsOnSim.h"
#include "core/MenuItemIds.h"
#include "core/PowerControl.h"
#include "core/ProfileLoader.h"
#include "organizer/OrgFile.h"
#include "organizer/OrganizerSubsystem.h"
#include "organizer/ShedOnSim.h"

namespace pelorin {
namespace {

using testing::AlarmsOnSim;

class OrganizerSubsystemTest : public ::testing::Test {
 protected:
  OrganizerSubsystemTest() : organizer(*sim.suite.Find<OrganizerSubsystem>()) {
    EXPECT_TRUE(sim.suite.context().files.CreateEmptyProfileFiles(sim.suite.values().ProfileDir));
    std::filesystem::create_directories(sim.suite.context().layout.ProfileBackupDir("Master"));
    sim.InstallStandardSounds();
  }
  void WriteOrg(std::string_view text) {
    testing::WriteBytes(org_file::FileIn(sim.suite.values().ProfileDir), text);
  }

  AlarmsOnSim sim;
  OrganizerSubsystem& organizer;
};

TEST_F(OrganizerSubsystemTest, AfterTheLoadADueMessagePopsUpRingsAndOkSilencesIt) {
  sim.SetClock(2026, 3, 14, 10, 29, 50);
  WriteOrg("[SYSTEM]\r\nCount=1\r\nSignal=1\r\nInterval=1000\r\n" +
           testing::OrgSection(0, "Call the bank", "14", "03", "10", "30",
                               "MEMOCount=1\r\nMEMO0=Ask about the card\r\n"));
  sim.suite.loader().LoadProfile("Master");
  ASSERT_TRUE(organizer.Schedule().TimerRunning());
  EXPECT_FALSE(organizer.PopUp().Visible());

  sim.timers.Advance(15'000);
  TF_ShedShow& popUp = organizer.PopUp();
  ASSERT_TRUE(popUp.Visible());
  EXPECT_EQ(popUp.MesList(), std::vector<std::string>{"Call the bank"});
  EXPECT_EQ(popUp.MesMemo(), std::vector<std::string>{"Ask about the card"});
  EXPECT_EQ(popUp.Left(), sim.screen.Width() - popUp.Width());
  EXPECT_EQ(popUp.Top(), 0);
  EXPECT_TRUE(sim.alarms.Ring().Ringing());
  const auto plays = sim.Plays("ring");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].file, (sim.home / "System/Snd/C_Remind2.wav").string());

  popUp.OKBtnClick();
  EXPECT_FALSE(popUp.Visible());
  EXPECT_FALSE(sim.alarms.Ring().Ringing());
  EXPECT_FALSE(sim.sound.AnyPlaying());
  sim.timers.Advance(60'000);
  EXPECT_FALSE(popUp.Visible());  // once: no repetition
}

TEST_F(OrganizerSubsystemTest, TheCoresSequencesReachTheOrganizersWindows) {
  sim.SetClock(2026, 3, 14, 10, 29, 50);
  WriteOrg("[SYSTEM]\r\nCount=1\r\n" + testing::OrgSection(0, "Soon", "14", "03", "10", "30"));
  sim.suite.loader().LoadProfile("Master");
  sim.suite.values().MenuFlags.fill(true);

  sim.suite.context().commands.Click(menu_item::kShed);
  ASSERT_TRUE(organizer.Organizer().Visible());
  EXPECT_EQ(organizer.Organizer().Rows().size(), 1u);
  sim.suite.steps().closeAllWindows.Run([] { return true; });
  EXPECT_FALSE(organizer.Organizer().Visible());
  organizer.Welcome().Label5Click();  // the welcome window's "Organizer" label
  EXPECT_TRUE(organizer.Organizer().Visible());

  sim.timers.Advance(15'000);
  ASSERT_TRUE(organizer.PopUp().Visible());
  sim.suite.power().WMPowerBroadcast(PowerControl::kSuspendEvent);
  EXPECT_FALSE(organizer.PopUp().Visible());
  EXPECT_FALSE(organizer.Schedule().TimerRunning());
  EXPECT_FALSE(organizer.Organizer().Visible());
  sim.suite.power().WMPowerBroadcast(PowerControl::kResumeEvent);
  EXPECT_TRUE(organizer.Schedule().TimerRunning());
  // The wake-up plans the day's dated messages anew: one whose time has passed today
  // (also one that came due during the sleep) pops up at the next check.
  EXPECT_EQ(organizer.Schedule().Table()[0].NextDate, "1403");
  sim.timers.Advance(6'000);
  EXPECT_TRUE(organizer.PopUp().Visible());
}

}  // namespace
}  // namespace pelorin
