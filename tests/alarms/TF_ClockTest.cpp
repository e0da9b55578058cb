#include "alarms/TF_Clock.h"

#include <gtest/gtest.h>

#include "alarms/AlarmsOnSim.h"

namespace pelorin {
namespace {

using testing::AlarmsOnSim;

constexpr char kThreeAlarms[] =
    "[SYSTEM]\r\nCount=3\r\nVolume=1\r\n"
    "[0]\r\nCaption=Wake\r\nHour=07\r\nMin=00\r\nEnabled=1\r\nDay1=1\r\nDay3=1\r\n"
    "[1]\r\nCaption=Lunch\r\nHour=12\r\nMin=30\r\nEnabled=0\r\nDay1=1\r\nDay2=1\r\nDay3=1\r\n"
    "Day4=1\r\nDay5=1\r\nDay6=1\r\nDay7=1\r\n"
    "[2]\r\nCaption=Weekend\r\nHour=09\r\nMin=15\r\nDay6=1\r\nDay7=1\r\nDayE=1\r\n";

class TF_ClockTest : public ::testing::Test {
 protected:
  TF_ClockTest() { sim.SetClock(2026, 1, 5, 14, 7, 0); }
  TF_Clock& rem() { return sim.alarms.Reminder(); }
  AlarmsOnSim sim;
};

TEST_F(TF_ClockTest, AnEmptyReminderShowsTheEditorReadyForANewAlarm) {
  rem().FormShow();
  EXPECT_TRUE(rem().Visible());
  EXPECT_TRUE(rem().Rows().empty());
  EXPECT_EQ(rem().Selected(), -1);
  EXPECT_EQ(rem().editor.Caption, "");
  EXPECT_EQ(rem().editor.TimeText(), "14:07");
  EXPECT_EQ(rem().editor.Days, (std::array<bool, 7>{true, true, true, true, true, true, true}));
  EXPECT_FALSE(rem().editor.DayE);
  EXPECT_TRUE(rem().editor.SndStd);
  EXPECT_FALSE(rem().editor.SndFile);
  EXPECT_EQ(rem().ClockText(), "14:07");
  sim.timers.Advance(60'000);
  EXPECT_EQ(rem().ClockText(), "14:08");
}

TEST_F(TF_ClockTest, TheListShowsTitlesTimesDaysAndCheckBoxes) {
  sim.WriteReminder(kThreeAlarms);
  rem().FormShow();
  ASSERT_EQ(rem().Rows().size(), 3u);
  EXPECT_EQ(rem().Rows()[0].title, "Wake");
  EXPECT_EQ(rem().Rows()[0].time, "07:00");
  EXPECT_EQ(rem().Rows()[0].days, "Mon,Wed");
  EXPECT_TRUE(rem().Rows()[0].checked);
  EXPECT_EQ(rem().Rows()[1].days, "All");
  EXPECT_FALSE(rem().Rows()[1].checked);
  EXPECT_EQ(rem().Rows()[2].days, "Ex. Sat,Sun");
  EXPECT_FALSE(rem().Rows()[2].checked);  // no Enabled key: the editor's default
  EXPECT_EQ(rem().Selected(), 0);
  EXPECT_EQ(rem().editor.Caption, "Wake");
  rem().RemListClick(2);
  EXPECT_EQ(rem().editor.Caption, "Weekend");
  EXPECT_TRUE(rem().editor.DayE);
}

TEST_F(TF_ClockTest, AddingTakesTwoStepsAndAnEmptyTitleStoresNothing) {
  sim.WriteReminder(kThreeAlarms);
  rem().FormShow();
  rem().AddBtnClick();
  EXPECT_TRUE(rem().AddStep());
  EXPECT_FALSE(rem().ListEnabled());
  EXPECT_FALSE(rem().ApplyEnabled());
  EXPECT_EQ(rem().DeleteHint(), "Cancel");
  EXPECT_EQ(rem().editor.Caption, TF_Clock::kNewTitle);
  EXPECT_EQ(rem().editor.TimeText(), "14:07");
  EXPECT_EQ(rem().TitleFocusRequests(), 1);

  rem().editor.Caption.clear();
  rem().AddBtnClick();
  EXPECT_FALSE(rem().AddStep());
  EXPECT_EQ(rem().DeleteHint(), "Delete");
  EXPECT_EQ(rem().Rows().size(), 3u);
  EXPECT_EQ(sim.Reminder().ReadInteger("SYSTEM", "Count", 0), 3);

  rem().AddBtnClick();
  rem().editor.Caption = "Tea";
  rem().editor.Hour = "16";
  rem().editor.Min = "45";
  rem().AddBtnClick();
  ASSERT_EQ(rem().Rows().size(), 4u);
  EXPECT_TRUE(rem().Rows()[3].checked);
  const SettingsFile file = sim.Reminder();
  EXPECT_EQ(file.ReadInteger("SYSTEM", "Count", 0), 4);
  EXPECT_EQ(file.ReadString("3", "Caption", ""), "Tea");
  EXPECT_EQ(file.ReadString("3", "Hour", ""), "16");
  EXPECT_TRUE(file.ReadBool("3", "Enabled", false));
  EXPECT_EQ(file.ReadInteger("SYSTEM", "Volume", 0), 1);  // the options stay

  // Cancelling the add step stores nothing.
  rem().AddBtnClick();
  rem().DelBtnClick();
  EXPECT_FALSE(rem().AddStep());
  EXPECT_EQ(sim.Reminder().ReadInteger("SYSTEM", "Count", 0), 4);
}

TEST_F(TF_ClockTest, DeletingMovesTheLaterSectionsDown) {
  sim.WriteReminder(kThreeAlarms);
  rem().FormShow();
  rem().RemListClick(1);
  rem().DelBtnClick();
  const SettingsFile file = sim.Reminder();
  EXPECT_EQ(file.ReadInteger("SYSTEM", "Count", 0), 2);
  EXPECT_EQ(file.ReadString("0", "Caption", ""), "Wake");
  EXPECT_EQ(file.ReadString("1", "Caption", ""), "Weekend");
  EXPECT_TRUE(file.ReadBool("1", "DayE", false));
  EXPECT_FALSE(file.SectionExists("2"));
  // The moved alarm had no Enabled key and still has none: the due check rings it.
  EXPECT_FALSE(file.ValueExists("1", "Enabled"));
  ASSERT_EQ(rem().Rows().size(), 2u);
  EXPECT_EQ(rem().Selected(), 0);
  EXPECT_EQ(rem().editor.Caption, "Wake");
}

TEST_F(TF_ClockTest, ApplyAndTheCheckBoxesWriteTheSelectedAlarm) {
  sim.WriteReminder(kThreeAlarms);
  rem().FormShow();
  rem().RemListClick(1);
  rem().editor.Caption = "Late lunch";
  rem().editor.Hour = "7";
  rem().RemHourExit();
  rem().ApplyBtnClick();
  EXPECT_EQ(rem().Rows()[1].title, "Late lunch");
  EXPECT_EQ(rem().Rows()[1].time, "07:30");
  SettingsFile file = sim.Reminder();
  EXPECT_EQ(file.ReadString("1", "Hour", ""), "07");
  EXPECT_FALSE(file.ReadBool("1", "Enabled", true));  // from the row's check box

  rem().SetRowChecked(1, true);
  rem().RemListChange(1);
  EXPECT_TRUE(sim.Reminder().ReadBool("1", "Enabled", false));
  rem().SetRowChecked(0, false);
  rem().SetRowChecked(2, true);
  rem().RemListKeyUp();
  file = sim.Reminder();
  EXPECT_FALSE(file.ReadBool("0", "Enabled", true));
  EXPECT_TRUE(file.ReadBool("2", "Enabled", false));

  // An empty title applies nothing.
  rem().editor.Caption.clear();
  rem().ApplyBtnClick();
  EXPECT_EQ(sim.Reminder().ReadString("1", "Caption", ""), "Late lunch");
}

TEST_F(TF_ClockTest, SoundControlsBrowsePreviewAndStop) {
  const auto bell = sim.MakeWave("bell.wav");
  rem().FormShow();
  sim.dialogs.ExpectFileChoice("Open sound WAV file", bell.string());
  rem().SndBrowseClick();
  ASSERT_EQ(sim.dialogs.FileChoicesAsked().size(), 1u);
  EXPECT_EQ(sim.dialogs.FileChoicesAsked()[0].filter,
            "Wave files (*.wav)|*.wav|All files (*.*)|*.*");
  EXPECT_EQ(rem().editor.SndFilename, bell.string());

  rem().editor.SndLoop = true;
  rem().SndPlayClick();
  auto plays = sim.Plays("ring");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].repeat, ports::Repeat::Loop);
  EXPECT_TRUE(sim.sound.AnyPlaying());
  rem().SndStopClick();
  EXPECT_FALSE(sim.sound.AnyPlaying());

  rem().editor.SndFilename = (sim.home / "missing.wav").string();
  rem().SndPlayClick();
  EXPECT_EQ(sim.Plays("ring").size(), 1u);  // a missing file is not even tried
}

TEST_F(TF_ClockTest, AHugeCountListsOnlyTheSectionsThere) {
  sim.WriteReminder("[SYSTEM]\r\nCount=2000000000\r\n[0]\r\nCaption=Only\r\n");
  rem().FormShow();
  ASSERT_EQ(rem().Rows().size(), 1u);
  EXPECT_EQ(rem().Rows()[0].title, "Only");
}

TEST_F(TF_ClockTest, ClosingEndsTheAddStep) {
  rem().FormShow();
  rem().AddBtnClick();
  rem().FormClose();
  EXPECT_FALSE(rem().Visible());
  EXPECT_FALSE(rem().AddStep());
  EXPECT_EQ(sim.Reminder().ReadInteger("SYSTEM", "Count", 0), 0);
}

}  // namespace
}  // namespace pelorin
