#include "organizer/TF_Shed.h"

#include <gtest/gtest.h>

#include "organizer/ShedOnSim.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using testing::OrgSection;
using testing::ShedOnSim;

class TF_ShedTest : public ::testing::Test {
 protected:
  TF_ShedTest() { sim.SetClock(2026, 5, 7, 10, 0, 0); }
  TF_Shed& shed() { return sim.shed; }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const TF_Shed::Row& row : sim.shed.Rows())
      captions.push_back(row.caption);
    return captions;
  }
  ShedOnSim sim;
};

TEST_F(TF_ShedTest, AFileWithoutCountIsEmptyAndAddingStoresSectionZero) {
  sim.WriteOrg("[SYSTEM]\r\nSignal=1\r\n[0]\r\nTITLE=Stray\r\nMEMOCount=1\r\nMEMO0=old\r\n");
  shed().FormShow();
  EXPECT_TRUE(shed().Rows().empty());
  EXPECT_EQ(shed().Selected(), -1);
  EXPECT_TRUE(shed().SignalShown());
  EXPECT_EQ(shed().editor.DateDay, "07");
  EXPECT_EQ(shed().editor.DateMonth, "05");

  shed().AddBtnClick();
  EXPECT_TRUE(shed().Adding());
  EXPECT_FALSE(shed().ApplyEnabled());
  EXPECT_FALSE(shed().ListEnabled());
  EXPECT_FALSE(shed().ShowTodayOnlyEnabled());
  EXPECT_EQ(shed().AddGlyph(), '\xD2');
  EXPECT_EQ(shed().DeleteGlyph(), '\xFD');
  EXPECT_EQ(shed().DeleteHint(), "Cancel");
  EXPECT_EQ(shed().TitleFocusRequests(), 1);
  EXPECT_TRUE(shed().editor.TimeE);
  EXPECT_TRUE(shed().editor.DateE);
  EXPECT_EQ(shed().editor.PeriodDay, "07");
  EXPECT_EQ(shed().editor.PeriodMonth, "05");

  shed().editor.NameEdit = "Dentist";
  shed().editor.MemoEdit = {"Bring the card", "Floor 3"};
  shed().editor.TimeHour = "14";
  shed().editor.TimeMinute = "3";  // the focus never left the box
  shed().editor.RepeatTimeE = true;
  shed().editor.RepeatTimeN = 500;
  shed().AddBtnClick();
  EXPECT_FALSE(shed().Adding());
  EXPECT_EQ(shed().AddGlyph(), '\xA4');
  EXPECT_EQ(shed().DeleteGlyph(), '\xFB');
  EXPECT_EQ(shed().DeleteHint(), "Delete");

  const SettingsFile org = sim.Org();
  EXPECT_EQ(org.ReadInteger("SYSTEM", "Count", 0), 1);
  EXPECT_EQ(org.ReadString("0", "TITLE", ""), "Dentist");
  EXPECT_EQ(org.ReadInteger("0", "MEMOCount", 0), 2);
  EXPECT_EQ(org.ReadString("0", "MEMO1", ""), "Floor 3");
  EXPECT_EQ(org.ReadString("0", "MinuteX", ""), "03");
  EXPECT_EQ(org.ReadInteger("0", "Repeat", 0), 240);
  EXPECT_TRUE(org.ReadBool("0", "Enabled", false));
  EXPECT_TRUE(org.ReadBool("SYSTEM", "Signal", false));
  EXPECT_FALSE(sim.RowOf(0).MessageOff);  // scheduled
  ASSERT_EQ(shed().Rows().size(), 1u);
  EXPECT_EQ(shed().Rows()[0].caption, "Dentist");
  EXPECT_EQ(shed().Rows()[0].date, "05/07");
  EXPECT_EQ(shed().Rows()[0].time, "14:03");
  EXPECT_EQ(shed().editor.MemoEdit, (std::vector<std::string>{"Bring the card", "Floor 3"}));

  // Cancelling the second step stores nothing.
  shed().AddBtnClick();
  shed().DelBtnClick();
  EXPECT_FALSE(shed().Adding());
  EXPECT_EQ(sim.Org().ReadInteger("SYSTEM", "Count", 0), 1);
  EXPECT_EQ(shed().editor.NameEdit, "Dentist");
}

TEST_F(TF_ShedTest, ListRowsShowDateTimeAndStateImages) {
  sim.WriteOrg("[SYSTEM]\r\nCount=5\r\n" + OrgSection(0, "Off", "01", "02") +
               "[1]\r\nTITLE=Done\r\nDayX=03\r\nMonthX=04\r\nHourX=08\r\nMinuteX=15\r\n"
               "Date=0\r\nTime=0\r\nEnabled=0\r\n" +
               OrgSection(2, "Today", "07", "05") +
               "[3]\r\nTITLE=No flags\r\nDayX=09\r\nMonthX=05\r\nHourX=11\r\nMinuteX=00\r\n"
               "Enabled=1\r\n" +
               OrgSection(4, "Later", "01", "06"));
  shed().FormShow();
  sim.RowOf(0) = {"0900", "0102", true};
  sim.RowOf(2) = {"0900", "0705", false};
  sim.RowOf(3) = {"1100", "0905", false};
  sim.RowOf(4) = {"0900", "0106", false};
  shed().FillList();

  struct Expected {
    const char *caption, *date, *time;
    int image;
  };
  const Expected expected[] = {
      {"Off", "02/01", "09:00", TF_Shed::kSwitchedOff},
      {"Done", "any", "any", TF_Shed::kCompleted},
      {"Today", "05/07", "09:00", TF_Shed::kDue},
      // The rewrite wrote Date and Time as false: a missing flag is read as false by the sort.
      {"No flags", "any", "any", TF_Shed::kNotDue},
      {"Later", "06/01", "09:00", TF_Shed::kNotDue},
  };
  ASSERT_EQ(shed().Rows().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].caption);
    const TF_Shed::Row& row = shed().Rows()[i];
    EXPECT_EQ(row.caption, expected[i].caption);
    EXPECT_EQ(row.date, expected[i].date);
    EXPECT_EQ(row.time, expected[i].time);
    EXPECT_EQ(row.image, expected[i].image);
    EXPECT_EQ(row.entry, static_cast<int>(i));
  }
  EXPECT_TRUE(sim.RowOf(1).MessageOff);  // a completed entry never pops up
}

TEST_F(TF_ShedTest, TheCheckRefreshesStateImagesOfTodayOnly) {
  sim.WriteOrg("[SYSTEM]\r\nCount=3\r\n" + OrgSection(0, "Due", "07", "05") +
               OrgSection(1, "Off", "08", "05") + OrgSection(2, "Later", "09", "05"));
  shed().FormShow();
  sim.RowOf(0) = {"0900", "0705", false};
  sim.RowOf(1) = {"0900", "0705", true};
  sim.RowOf(2) = {"0900", "0905", false};
  shed().RefreshStateImages();
  EXPECT_EQ(shed().Rows()[0].image, TF_Shed::kDue);
  EXPECT_EQ(shed().Rows()[1].image, TF_Shed::kSwitchedOff);
  EXPECT_EQ(shed().Rows()[2].image, TF_Shed::kNotDue);

  // Under "Specified", a row not due today keeps its image.
  shed().ShowTodayOnly = true;
  sim.RowOf(0).MessageOff = true;
  sim.RowOf(2).MessageOff = true;
  shed().RefreshStateImages();
  EXPECT_EQ(shed().Rows()[0].image, TF_Shed::kSwitchedOff);
  EXPECT_EQ(shed().Rows()[2].image, TF_Shed::kNotDue);

  shed().SetTodayDate("05/08/2026");
  EXPECT_EQ(shed().TodayDate, "05/08/2026");
}

TEST_F(TF_ShedTest, TheListReadsMissingDateAndTimeFlagsAsSet) {
  sim.WriteOrg("[SYSTEM]\r\nCount=1\r\n[0]\r\nTITLE=Bare\r\nDayX=09\r\nMonthX=05\r\n");
  shed().FillList();
  ASSERT_EQ(shed().Rows().size(), 1u);
  EXPECT_EQ(shed().Rows()[0].date, "05/09");
  EXPECT_EQ(shed().Rows()[0].time, "00:00");
}

TEST_F(TF_ShedTest, SortingIsStableKeepsMemoLinesAndMovesScheduleRows) {
  sim.WriteOrg("[SYSTEM]\r\nCount=4\r\nInterval=300\r\n[Other]\r\nA=1\r\n" +
               OrgSection(0, "June", "01", "06") +
               OrgSection(1, "Equal A", "10", "05", "09", "00", "MEMOCount=1\r\nMEMO0=one\r\n") +
               OrgSection(2, "Equal B", "10", "05", "09", "00",
                          "MEMOCount=3\r\nMEMO0=a\r\nMEMO1=b\r\nMEMO2=c\r\n") +
               "[3]\r\nTITLE=Early\r\nDayX=01\r\nMonthX=05\r\n");
  for (int n = 0; n < 4; ++n)
    sim.MarkRow(n, "row" + std::to_string(n));
  shed().FormShow();
  shed().SortEntries();  // a second sort keeps the order of equal keys

  EXPECT_EQ(Captions(), (std::vector<std::string>{"Early", "Equal A", "Equal B", "June"}));
  const SettingsFile org = sim.Org();
  EXPECT_EQ(org.ReadInteger("2", "MEMOCount", 0), 3);
  EXPECT_EQ(org.ReadString("2", "MEMO2", ""), "c");
  EXPECT_EQ(org.ReadString("1", "MEMO0", ""), "one");
  EXPECT_EQ(sim.RowOf(0).NextTime, "row3");
  EXPECT_EQ(sim.RowOf(1).NextTime, "row1");
  EXPECT_EQ(sim.RowOf(2).NextTime, "row2");
  EXPECT_EQ(sim.RowOf(3).NextTime, "row0");

  // Every key is written, a missing one with the rewrite's fallback.
  EXPECT_EQ(org.ReadString("0", "HourX", ""), "99");
  EXPECT_EQ(org.ReadString("0", "PeriodHour", ""), "01");
  EXPECT_EQ(org.ReadString("0", "Enabled", ""), "0");
  EXPECT_EQ(org.ReadString("0", "RepeatMin", ""), "1");
  EXPECT_EQ(org.ReadString("SYSTEM", "Signal", ""), "1");
  EXPECT_EQ(org.ReadString("SYSTEM", "WelcomeDate", ""), "01.01.00");
  EXPECT_EQ(org.ReadInteger("SYSTEM", "Interval", 0), 300);
  EXPECT_FALSE(org.SectionExists("Other"));
  EXPECT_FALSE(std::filesystem::exists(sim.OrgPath().parent_path() / org_file::kSortFile));
}

TEST_F(TF_ShedTest, ADamagedFileKeepsItsEntriesWithinBounds) {
  sim.WriteOrg("[SYSTEM]\r\nCount=2000000000\r\n" +
               OrgSection(0, "Only", "01", "05", "09", "00",
                          "MEMOCount=100000\r\nMEMO0=first\r\nMEMO1=second\r\n"));
  shed().FormShow();
  ASSERT_EQ(Captions(), std::vector<std::string>{"Only"});
  EXPECT_EQ(shed().editor.MemoEdit, (std::vector<std::string>{"first", "second"}));
  const SettingsFile org = sim.Org();
  EXPECT_EQ(org.ReadInteger("SYSTEM", "Count", 0), 1);
  EXPECT_EQ(org.ReadInteger("0", "MEMOCount", 0), 2);
}

TEST_F(TF_ShedTest, DeletingEntryZeroOfThreeShiftsSectionsAndRows) {
  sim.WriteOrg(
      "[SYSTEM]\r\nCount=3\r\n" + OrgSection(0, "First", "01", "05") +
      OrgSection(1, "Second", "02", "05", "09", "00", "MEMOCount=2\r\nMEMO0=x\r\nMEMO1=y\r\n") +
      OrgSection(2, "Third", "03", "05", "09", "00", "MEMOCount=1\r\nMEMO0=z\r\n"));
  shed().FormShow();
  for (int n = 0; n < 3; ++n)
    sim.MarkRow(n, "row" + std::to_string(n));

  sim.dialogs.Expect("Deleting. Are you sure?", DialogAnswer::No);
  shed().DelBtnClick();
  EXPECT_EQ(sim.Org().ReadInteger("SYSTEM", "Count", 0), 3);
  EXPECT_EQ(shed().Rows().size(), 3u);

  sim.dialogs.Expect("Deleting. Are you sure?", DialogAnswer::Yes);
  shed().DelBtnClick();
  ASSERT_EQ(sim.dialogs.Asked().size(), 2u);
  EXPECT_EQ(sim.dialogs.Asked()[1].caption, "Delete");
  EXPECT_EQ(sim.dialogs.Asked()[1].buttons, ports::DialogButtons::YesNo);

  const SettingsFile org = sim.Org();
  EXPECT_EQ(org.ReadInteger("SYSTEM", "Count", 0), 2);
  EXPECT_EQ(org.ReadString("0", "TITLE", ""), "Second");
  EXPECT_EQ(org.ReadString("0", "MEMO1", ""), "y");
  EXPECT_EQ(org.ReadString("1", "TITLE", ""), "Third");
  EXPECT_EQ(org.ReadString("1", "MEMO0", ""), "z");
  EXPECT_FALSE(org.SectionExists("2"));
  EXPECT_EQ(sim.RowOf(0).NextTime, "row1");
  EXPECT_EQ(sim.RowOf(1).NextTime, "row2");
  EXPECT_EQ(sim.RowOf(2).NextTime, ScheduleTable::kNone);
  EXPECT_TRUE(sim.RowOf(2).MessageOff);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Second", "Third"}));
  EXPECT_EQ(shed().Selected(), 0);
  EXPECT_EQ(shed().editor.NameEdit, "Second");
}

TEST_F(TF_ShedTest, ApplyWritesTheEditorButNotEnabled) {
  sim.WriteOrg(
      "[SYSTEM]\r\nCount=1\r\n[0]\r\nTITLE=Call\r\nDayX=07\r\nMonthX=05\r\n"
      "HourX=09\r\nMinuteX=00\r\nDate=1\r\nTime=1\r\nEnabled=0\r\nEveryDay=3\r\n"
      "MEMOCount=2\r\nMEMO0=a\r\nMEMO1=b\r\n");
  shed().FormShow();
  EXPECT_TRUE(shed().editor.RepeatDaysE);
  EXPECT_EQ(shed().editor.RepeatDaysN, 3);
  shed().editor.NameEdit = "Call back";
  shed().editor.MemoEdit = {"only"};
  shed().editor.RepeatDaysE = false;
  shed().ApplyBtnClick();
  const SettingsFile org = sim.Org();
  EXPECT_EQ(org.ReadString("0", "TITLE", ""), "Call back");
  EXPECT_EQ(org.ReadInteger("0", "EveryDay", -1), 0);
  EXPECT_EQ(org.ReadInteger("0", "MEMOCount", 0), 1);
  EXPECT_FALSE(org.ReadBool("0", "Enabled", true));
  EXPECT_EQ(shed().Rows()[0].image, TF_Shed::kCompleted);
}

TEST_F(TF_ShedTest, TwoDigitBoxesAreCorrectedWhenLeft) {
  struct Case {
    void (TF_Shed::*exit)();
    std::string TF_Shed::Editor::*box;
    const char *typed, *left;
  };
  using E = TF_Shed::Editor;
  const Case cases[] = {
      {&TF_Shed::TimeMinuteExit, &E::TimeMinute, "75", "59"},
      {&TF_Shed::TimeHourExit, &E::TimeHour, "30", "23"},
      {&TF_Shed::TimeHourExit, &E::TimeHour, "7", "07"},
      {&TF_Shed::TimeHourExit, &E::TimeHour, "", "00"},
      {&TF_Shed::DateDayExit, &E::DateDay, "00", "01"},
      {&TF_Shed::DateDayExit, &E::DateDay, "7a", "01"},
      {&TF_Shed::DateDayExit, &E::DateDay, "45", "31"},
      {&TF_Shed::DateMonthExit, &E::DateMonth, "13", "12"},
      {&TF_Shed::DateMonthExit, &E::DateMonth, "0", "01"},
      {&TF_Shed::PeriodHourExit, &E::PeriodHour, "24", "23"},
      {&TF_Shed::PeriodMinExit, &E::PeriodMin, "x", "00"},
      {&TF_Shed::PeriodDayExit, &E::PeriodDay, "31", "31"},
      {&TF_Shed::PeriodMonthExit, &E::PeriodMonth, "00", "01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    shed().editor.*c.box = c.typed;
    (shed().*c.exit)();
    EXPECT_EQ(shed().editor.*c.box, c.left);
  }
}

TEST_F(TF_ShedTest, TheSpecifiedDateIsCheckedWhenLeft) {
  sim.WriteOrg("[SYSTEM]\r\nCount=0\r\n");
  shed().FormShow();
  struct Case {
    const char *typed, *message, *box;
  };
  const Case cases[] = {
      {"2/30/05", nullptr, "02/30/2005"},
      {"12/5", "Incorrect date. Format of date must be MM/DD/YY", "05/07/2026"},
      {"1x/05/05", "Incorrect symbols in specified date!", "05/07/2026"},
      {"13/05/05", "Incorrect date.", "05/07/2026"},
      {"12/05/123", "Incorrect date.", "05/07/2026"},
      {"12/00/05", "Incorrect date.", "05/07/2026"},
      {"1/2/1999", nullptr, "01/02/1999"},
      {"3/4/40", nullptr, "03/04/1940"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::size_t asked = sim.dialogs.Asked().size();
    if (c.message) sim.dialogs.Expect(c.message, DialogAnswer::Ok);
    shed().TodayDate = c.typed;
    shed().TodayDateKeyPress('\r');
    EXPECT_EQ(shed().TodayDate, c.box);
    EXPECT_EQ(sim.dialogs.Asked().size(), asked + (c.message ? 1 : 0));
    if (c.message) {
      EXPECT_EQ(sim.dialogs.Asked().back().caption, "Pelorin");
    }
  }
  EXPECT_EQ(sim.dialogs.Pending(), 0u);
}

TEST_F(TF_ShedTest, TheSpecifiedFilterListsEntriesNextOrConfiguredOnThatDay) {
  sim.WriteOrg("[SYSTEM]\r\nCount=4\r\n" + OrgSection(0, "Configured", "07", "05") +
               OrgSection(1, "Other", "08", "05") + OrgSection(2, "Repeats onto it", "20", "05") +
               OrgSection(3, "Next year", "07", "06"));
  shed().FormShow();
  sim.RowOf(2) = {"0900", "0705", false};
  shed().ShowTodayOnly = true;
  shed().TodayDate = "05/07/2002";
  shed().TodayDateExit();
  EXPECT_TRUE(sim.Org().ReadBool("SYSTEM", "ShowTodayOnly", false));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Configured", "Repeats onto it"}));
  EXPECT_EQ(shed().Rows()[1].entry, 2);
  EXPECT_EQ(shed().Rows()[1].image, TF_Shed::kDue);

  // Every action finds its entry by the row's hidden index.
  shed().ShedListClick(1);
  EXPECT_EQ(shed().editor.NameEdit, "Repeats onto it");
  shed().ShedListDblClick();
  EXPECT_EQ(sim.popUps, std::vector<int>{2});

  shed().ShowTodayOnly = false;
  shed().ShowTodayOnlyClick();
  EXPECT_EQ(shed().Rows().size(), 4u);
}

TEST_F(TF_ShedTest, TheContextMenuSwitchesMessagesAndCompletion) {
  sim.WriteOrg("[SYSTEM]\r\nCount=1\r\n" + OrgSection(0, "Pills", "07", "05"));
  shed().FormShow();
  sim.RowOf(0) = {"0900", "0705", false};
  shed().FillList();
  TF_Shed::Menu menu = shed().ShedMenuPopup();
  EXPECT_TRUE(menu.switchesVisible);
  EXPECT_EQ(menu.messageItem, "Disable message");
  EXPECT_EQ(menu.doneItem, "Mark as completed");

  shed().ShedMenu_DoneClick();
  EXPECT_TRUE(sim.RowOf(0).MessageOff);
  EXPECT_EQ(shed().Rows()[0].image, TF_Shed::kSwitchedOff);
  EXPECT_EQ(shed().ShedMenuPopup().messageItem, "Enable message");
  shed().ShedMenu_DoneClick();
  EXPECT_FALSE(sim.RowOf(0).MessageOff);
  EXPECT_EQ(shed().Rows()[0].image, TF_Shed::kDue);

  shed().ShedMenu_EnabledClick();
  EXPECT_FALSE(sim.Org().ReadBool("0", "Enabled", true));
  EXPECT_TRUE(sim.RowOf(0).MessageOff);
  EXPECT_EQ(shed().Rows()[0].image, TF_Shed::kCompleted);
  menu = shed().ShedMenuPopup();
  EXPECT_EQ(menu.doneItem, "Mark as uncompleted");
  // A completed entry's message cannot be switched on.
  shed().ShedMenu_DoneClick();
  EXPECT_TRUE(sim.RowOf(0).MessageOff);

  shed().ShedMenu_EnabledClick();
  EXPECT_TRUE(sim.Org().ReadBool("0", "Enabled", false));
  EXPECT_FALSE(sim.RowOf(0).MessageOff);

  shed().ShedListClick(-1);
  EXPECT_FALSE(shed().ShedMenuPopup().switchesVisible);
}

TEST_F(TF_ShedTest, ReinitializationAsksFirst) {
  sim.WriteOrg("[SYSTEM]\r\nCount=1\r\n" + OrgSection(0, "Pills", "07", "05"));
  shed().FormShow();
  sim.RowOf(0) = {"0900", "0705", true};
  const std::string question =
      "Are you sure?\nRe-initialization will be executed!\nThis process executes when Pelorin "
      "starts!";
  sim.dialogs.Expect(question, DialogAnswer::No);
  shed().N1Click();
  EXPECT_TRUE(sim.RowOf(0).MessageOff);
  sim.dialogs.Expect(question, DialogAnswer::Yes);
  shed().N1Click();
  EXPECT_FALSE(sim.RowOf(0).MessageOff);
  EXPECT_EQ(sim.dialogs.Asked().back().caption, "Pelorin");
}

TEST_F(TF_ShedTest, AddingIsRefusedAtTheMostEntries) {
  std::string bytes = "[SYSTEM]\r\nCount=8191\r\n";
  for (int n = 0; n < 8191; ++n)
    bytes += OrgSection(n, "m", "01", "01");
  sim.WriteOrg(bytes);
  shed().FormShow();
  shed().AddBtnClick();  // room for one more
  ASSERT_TRUE(shed().Adding());
  // Meanwhile another entry took the last place.
  SettingsFile org = sim.Org();
  {
    SettingsTransaction change(org);
    org.WriteString("8191", "TITLE", "last");
    org.WriteInteger("SYSTEM", "Count", 8192);
    change.Commit();
  }
  shed().editor.NameEdit = "One too many";
  sim.dialogs.ExpectContaining("8192", DialogAnswer::Ok);
  shed().AddBtnClick();
  EXPECT_TRUE(shed().Adding());  // what was typed stays
  EXPECT_EQ(shed().editor.NameEdit, "One too many");
  EXPECT_EQ(sim.Org().ReadInteger("SYSTEM", "Count", 0), 8192);
  EXPECT_FALSE(sim.Org().SectionExists("8192"));

  shed().DelBtnClick();
  sim.dialogs.ExpectContaining("8192", DialogAnswer::Ok);
  shed().AddBtnClick();
  EXPECT_FALSE(shed().Adding());
  EXPECT_EQ(sim.dialogs.Pending(), 0u);
}

TEST_F(TF_ShedTest, SoundControlsBrowsePreviewAndStop) {
  const auto bell = sim.MakeWave("bell.wav");
  shed().FormShow();
  sim.dialogs.ExpectFileChoice("Open sound Wave file", bell.string());
  shed().SndBrowseClick();
  ASSERT_EQ(sim.dialogs.FileChoicesAsked().size(), 1u);
  EXPECT_EQ(sim.dialogs.FileChoicesAsked()[0].filter,
            "Wave files (*.wav)|*.wav|All files(*.*)|*.*");
  EXPECT_EQ(sim.dialogs.FileChoicesAsked()[0].defaultExtension, "wav");
  EXPECT_EQ(shed().editor.SndFilename, bell.string());

  shed().SndPlayClick();
  auto plays = sim.Plays("ring");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].repeat, ports::Repeat::Once);
  shed().editor.SndLoop = true;
  shed().SndPlayClick();
  EXPECT_EQ(sim.Plays("ring").back().repeat, ports::Repeat::Loop);
  shed().SndStopClick();
  EXPECT_FALSE(sim.sound.AnyPlaying());

  shed().editor.SndFilename = (sim.home / "missing.wav").string();
  shed().SndPlayClick();
  EXPECT_EQ(sim.Plays("ring").size(), 2u);
}

TEST_F(TF_ShedTest, ClosingLeavesAdding) {
  shed().FormShow();
  shed().AddBtnClick();
  shed().FormClose();
  EXPECT_FALSE(shed().Visible());
  EXPECT_FALSE(shed().Adding());
  EXPECT_TRUE(shed().ListEnabled());
  EXPECT_EQ(sim.Org().ReadInteger("SYSTEM", "Count", -1), 0);
}

}  // namespace
}  // namespace pelorin
