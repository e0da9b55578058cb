#include <gtest/gtest.h>

#include <functional>

#include "common/WaveFile.h"
#include "organizer/OrganizerAlone.h"

namespace pelorin {
namespace {

using testing::OrganizerAlone;
using testing::OrgText;
using Status = TF_ShedShow::Status;

constexpr int kF8 = 0x77;

std::filesystem::path MakeWave(const std::filesystem::path& file) {
  WriteWaveFile(file, 8000, std::vector<std::int16_t>(4000, 1000));
  return file;
}

std::vector<sim::SoundEvent> RingPlays(const OrganizerAlone& sim) {
  std::vector<sim::SoundEvent> plays;
  for (const sim::SoundEvent& e : sim.sound.Events())
    if (e.kind == sim::SoundEvent::Kind::Play && e.player == "ring") plays.push_back(e);
  return plays;
}

TEST(TF_ShedShowTest, BackAndNextGoRoundTheMessagesAndTheCounterFollows) {
  OrganizerAlone sim;
  sim.WriteOrg(OrgText(
      "", {"TITLE=First\nMEMOCount=1\nMEMO0=one\n", "TITLE=Second\nMEMOCount=1\nMEMO0=two\n",
           "TITLE=Third\nMEMOCount=1\nMEMO0=three\n"}));
  for (int n = 0; n < 3; ++n)
    sim.popup.PopUpEntry(n);
  sim.timers.Advance(TF_ShedShow::kTimer1Ms);
  EXPECT_EQ(sim.popup.MesList(), (std::vector<std::string>{"First", "Second", "Third"}));
  EXPECT_EQ(sim.popup.Nums(), "3/3");

  struct Step {
    const char* name;
    std::function<void(TF_ShedShow&)> act;
    const char* nums;
    const char* memo;
  };
  const std::vector<Step> steps = {
      {"Back", [](TF_ShedShow& p) { p.BackBtnClick(); }, "2/3", "two"},
      {"Next", [](TF_ShedShow& p) { p.NextBtnClick(); }, "3/3", "three"},
      {"Next after the last", [](TF_ShedShow& p) { p.NextBtnClick(); }, "1/3", "one"},
      {"Back before the first", [](TF_ShedShow& p) { p.BackBtnClick(); }, "3/3", "three"},
      {"a line chosen by hand", [](TF_ShedShow& p) { p.MesListClick(1); }, "2/3", "two"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act(sim.popup);
    sim.timers.Advance(TF_ShedShow::kTimer1Ms);
    EXPECT_EQ(sim.popup.Nums(), step.nums);
    EXPECT_EQ(sim.popup.MesMemo(), std::vector<std::string>{step.memo});
  }
}

TEST(TF_ShedShowTest, ThePopUpKeepsToTheTopRightCornerWhileItShows) {
  OrganizerAlone sim;
  sim.screen.width = 1280;
  sim.WriteOrg(OrgText("", {"TITLE=Only\n"}));
  sim.popup.Resized(300);
  sim.popup.PopUpEntry(0);
  EXPECT_EQ(sim.popup.Left(), 980);
  EXPECT_EQ(sim.popup.Top(), 0);
  EXPECT_TRUE(sim.popup.Timer1Running());

  sim.popup.Moved(10, 50);
  sim.timers.Advance(TF_ShedShow::kTimer1Ms);
  EXPECT_EQ(sim.popup.Left(), 980);
  EXPECT_EQ(sim.popup.Top(), 0);

  sim.popup.OKBtnClick();
  EXPECT_FALSE(sim.popup.Visible());
  EXPECT_FALSE(sim.popup.Timer1Running());
  sim.popup.PopUpEntry(0);  // shown again: a fresh list
  EXPECT_EQ(sim.popup.MesList().size(), 1u);
}

TEST(TF_ShedShowTest, TheSelectedMessageShowsItsTextAndStatus) {
  struct Case {
    const char* name;
    std::string entry;
    bool messageOff;
    std::vector<std::string> memo;
    Status status;
  };
  const std::vector<Case> cases = {
      {"switched on",
       "MEMOCount=2\nMEMO0=Call\nMEMO1=the bank\nEnabled=1\n",
       false,
       {"Call", "the bank"},
       Status::kOn},
      {"switched off", "Enabled=1\n", true, {}, Status::kOff},
      {"completed", "Enabled=0\n", true, {}, Status::kDone},
      {"no Enabled key", "", false, {}, Status::kOn},
      {"a damaged line count",
       "MEMOCount=100000\nMEMO0=a\nMEMO2=c\n",
       false,
       {"a", "", "c"},
       Status::kOn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OrganizerAlone sim;
    sim.WriteOrg(OrgText("", {"TITLE=Entry\n" + c.entry}));
    sim.schedule.Table()[0].MessageOff = c.messageOff;
    sim.popup.PopUpEntry(0);
    EXPECT_EQ(sim.popup.MesMemo(), c.memo);
    EXPECT_EQ(sim.popup.StatusShown(), c.status);
  }
}

TEST(TF_ShedShowTest, EachStatusWritesTheEntryAndItsRow) {
  struct Case {
    Status status;
    bool enabled;
    bool messageOff;
    const char* nextTime;
  };
  const std::vector<Case> cases = {
      {Status::kOn, true, false, "0900"},  // planned afresh: due now
      {Status::kOff, true, true, "9999"},
      {Status::kDone, false, true, "9999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(TF_ShedShow::kStatusItems[static_cast<std::size_t>(c.status)]);
    OrganizerAlone sim;
    sim.SetClock(2026, 1, 10, 9, 0);
    sim.WriteOrg(OrgText("", {"TITLE=Now\nDate=0\nTime=0\nEnabled=1\n"}));
    sim.Start();
    sim.timers.Advance(1000);
    ASSERT_EQ(sim.popped.size(), 1u);
    ASSERT_EQ(sim.Row(0).NextTime, "9999");

    sim.popup.StatusListChange(c.status);
    EXPECT_EQ(sim.Org().ReadBool("0", "Enabled", !c.enabled), c.enabled);
    EXPECT_EQ(sim.Row(0).MessageOff, c.messageOff);
    EXPECT_EQ(sim.Row(0).NextTime, c.nextTime);
    EXPECT_EQ(sim.popup.StatusShown(), c.status);
  }
}

TEST(TF_ShedShowTest, TheMessageRingsAsTheEntryAndTheReminderSay) {
  struct Case {
    const char* name;
    std::string system;
    std::string reminder;  // reminder.hif's SYSTEM lines; none: no file
    std::string sound;     // the entry's sound keys; "OWN" stands for the own file
    bool ownFileExists;
    std::string played;  // file name of the one ring play, or "" for none
    ports::Repeat repeat;
    int beepFrequency, beepDuration;
    bool soundCard, speaker;
  };
  const std::vector<Case> cases = {
      {"Signal off", "", "", "SndStd=1\n", true, "", ports::Repeat::Loop, 1850, 80, true, false},
      {"standard ring without reminder.hif", "Signal=1\n", "", "", true, "C_Remind2.wav",
       ports::Repeat::Loop, 1850, 80, true, false},
      {"standard ring at level 3 with the speaker", "Signal=1\n",
       "Volume=3\nPCFQ=900\nPCDU=150\nUsePC=1\n", "SndStd=1\n", true, "C_Remind3.wav",
       ports::Repeat::Loop, 900, 100, true, true},
      {"an unknown level rings level 2", "Signal=1\n", "Volume=7\n", "SndStd=1\n", true,
       "C_Remind2.wav", ports::Repeat::Loop, 1850, 80, true, false},
      {"the own file once", "Signal=1\n", "", "SndStd=0\nSndFile=1\nSndLoop=0\nSndFilename=OWN\n",
       true, "own.wav", ports::Repeat::Once, 1850, 80, true, false},
      {"the own file looped", "Signal=1\n", "UseSC=0\n",
       "SndStd=0\nSndFile=1\nSndLoop=1\nSndFilename=OWN\n", true, "own.wav", ports::Repeat::Loop,
       1850, 80, true, false},
      {"a missing own file is skipped", "Signal=1\n", "", "SndStd=0\nSndFile=1\nSndFilename=OWN\n",
       false, "", ports::Repeat::Loop, 1850, 80, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OrganizerAlone sim;
    const std::filesystem::path own = sim.home / "own.wav";
    if (c.ownFileExists) MakeWave(own);
    std::filesystem::create_directories(sim.home / "System" / "Snd");
    for (int level = 0; level < 4; ++level)
      MakeWave(sim.home / "System" / "Snd" / ("C_Remind" + std::to_string(level) + ".wav"));
    if (!c.reminder.empty())
      testing::WriteBytes(sim.ProfileFile("reminder"), "[SYSTEM]\n" + c.reminder);
    std::string sound = c.sound;
    if (const auto at = sound.find("OWN"); at != std::string::npos)
      sound.replace(at, 3, own.string());
    sim.coreHotkeys.Keys().Reminder = {.Key = kF8, .Ctrl = 1};
    sim.WriteOrg(OrgText(c.system, {"TITLE=Ring\n" + sound}));

    sim.popup.PopUpEntry(0);
    EXPECT_TRUE(sim.popup.Visible());
    EXPECT_EQ(sim.popup.MesList(), std::vector<std::string>{"Ring"});
    const auto plays = RingPlays(sim);
    const bool stopKeyHeld = sim.hotkeys.Registered().contains(sim.coreHotkeys.AtomId("PELN_REM"));
    if (c.played.empty()) {
      EXPECT_TRUE(plays.empty());
      EXPECT_FALSE(sim.ring.Ringing());
      EXPECT_FALSE(stopKeyHeld);
      continue;
    }
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(std::filesystem::path(plays[0].file).filename(), c.played);
    EXPECT_EQ(plays[0].repeat, c.repeat);
    EXPECT_TRUE(sim.ring.Ringing());
    EXPECT_TRUE(stopKeyHeld);
    EXPECT_EQ(sim.ring.BeepFrequency, c.beepFrequency);
    EXPECT_EQ(sim.ring.BeepDuration, c.beepDuration);
    EXPECT_EQ(sim.ring.UseSoundCard, c.soundCard);
    EXPECT_EQ(sim.ring.UsePcSpeaker, c.speaker);

    sim.popup.OKBtnClick();
    EXPECT_FALSE(sim.ring.Ringing());
    EXPECT_FALSE(sim.popup.Visible());
  }
}

TEST(TF_ShedShowTest, BeyondTheMessageMapTheOldestLineGivesWay) {
  OrganizerAlone sim;
  sim.WriteOrg(OrgText("", {"TITLE=Old\n", "TITLE=New\n"}));
  sim.popup.PopUpEntry(0);
  for (int n = 1; n < TF_ShedShow::kMessageMapSize; ++n)
    sim.popup.PopUpEntry(1);
  EXPECT_EQ(sim.popup.MesList().front(), "Old");
  sim.popup.PopUpEntry(1);
  ASSERT_EQ(sim.popup.MesList().size(), static_cast<std::size_t>(TF_ShedShow::kMessageMapSize));
  EXPECT_EQ(sim.popup.MesList().front(), "New");
  EXPECT_EQ(sim.popup.MessageMap().front(), 1);
  EXPECT_EQ(sim.popup.Selected(), TF_ShedShow::kMessageMapSize - 1);
}

}  // namespace
}  // namespace pelorin
