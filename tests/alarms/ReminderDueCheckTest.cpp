#include <gtest/gtest.h>

#include "alarms/AlarmsOnSim.h"
#include "core/CoreHotkeys.h"
#include "support/RecordingMainView.h"
#include "support/SimPortSet.h"

namespace pelorin {
namespace {

using testing::AlarmsOnSim;

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kDayMs = 24 * 60 * kMinuteMs;

class ReminderDueCheckTest : public ::testing::Test {
 protected:
  ReminderDueCheckTest() {
    sim.alarms.DueCheck().ForgetRings();
    sim.alarms.DueCheck().Start();
  }
  ReminderDueCheck& due() { return sim.alarms.DueCheck(); }
  RingService& ring() { return sim.alarms.Ring(); }

  AlarmsOnSim sim;
};

// The due check and the ring service alone on simulated ports, for runs over weeks of
// virtual time.
struct ReminderAlone : testing::SimPortSet<> {
  ReminderAlone() {
    ctx.values.ProfileDir = home.path();
    due.ForgetRings();
    due.Start();
  }
  testing::TempDir home;
  testing::RecordingMainView view;
  CoreContext ctx{Ports(), view, home.path()};
  CoreHotkeys hotkeys{ctx};
  RingService ring{ctx, hotkeys};
  ReminderDueCheck due{ctx, ring};
};

TEST(ReminderDueCheckAloneTest, WeekdayAlarmRingsOnItsDaysOnlyOverTwoWeeks) {
  struct Case {
    const char* name;
    const char* days;
    std::vector<int> rang;  // days of January 2026; the 5th is a Monday
  };
  const std::vector<Case> cases = {
      {"Monday to Friday",
       "Day1=1\r\nDay2=1\r\nDay3=1\r\nDay4=1\r\nDay5=1\r\n",
       {5, 6, 7, 8, 9, 12, 13, 14, 15, 16}},
      {"except Monday to Friday",
       "Day1=1\r\nDay2=1\r\nDay3=1\r\nDay4=1\r\nDay5=1\r\nDayE=1\r\n",
       {10, 11, 17, 18}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReminderAlone r;
    r.clock.Set({2026, 1, 5, 0, 0, 0, 0});
    testing::WriteBytes(r.home / "reminder.hif",
                        std::string("[SYSTEM]\r\nCount=1\r\nEveryHour=0\r\n[0]\r\nCaption=Up\r\n"
                                    "Hour=07\r\nMin=30\r\nEnabled=1\r\n") +
                            c.days);
    std::vector<int> rang;
    for (std::int64_t t = 0; t < 14 * kDayMs; t += kMinuteMs) {
      const std::size_t before = r.sound.Events().size();
      r.timers.Advance(kMinuteMs);
      if (r.sound.Events().size() != before) {
        rang.push_back(r.clock.Now().day);
        EXPECT_EQ(r.due.LastRingMinute(), "07:30");
        r.ring.StopRing();
      }
    }
    EXPECT_EQ(rang, c.rang);
  }
}

TEST_F(ReminderDueCheckTest, OnlyTheLowestDueAlarmOfAMinuteRingsAndOnlyOnce) {
  const auto own = sim.MakeWave("own.wav");
  sim.SetClock(2026, 1, 5, 8, 59, 50);
  sim.WriteReminder(
      "[SYSTEM]\r\nCount=3\r\nEveryHour=0\r\n"
      "[0]\r\nHour=09\r\nMin=00\r\nEnabled=0\r\nDay1=1\r\n"  // disabled
      "[1]\r\nHour=9\r\nMin=0\r\nDay1=1\r\nSndFile=1\r\nSndFilename=" +
      own.string() +
      "\r\n"  // no Enabled key: rings
      "[2]\r\nHour=09\r\nMin=00\r\nEnabled=1\r\nDay1=1\r\n");
  sim.timers.Advance(2 * kMinuteMs);
  const auto plays = sim.Plays("ring");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].file, own.string());
  EXPECT_EQ(plays[0].repeat, ports::Repeat::Once);  // own file without its loop choice
  EXPECT_TRUE(ring().Ringing());
  EXPECT_EQ(due().LastRingMinute(), "09:00");
}

TEST_F(ReminderDueCheckTest, TheSoundFollowsTheLevelAndTheLoopChoices) {
  const std::string own = "/sounds/own.wav", level4 = "/sounds/level4.wav";
  const std::string home = sim.home.path().string();
  struct Case {
    const char* name;
    const char* system;
    const char* alarm;
    std::string file;
    ports::Repeat repeat;
    bool beepAllowed;
  };
  const std::vector<Case> cases = {
      {"standard level 0", "Volume=0\r\n", "", home + "/System/Snd/C_Remind0.wav",
       ports::Repeat::Loop, true},
      {"standard level 3", "Volume=3\r\n", "", home + "/System/Snd/C_Remind3.wav",
       ports::Repeat::Loop, true},
      {"an unknown level rings as level 2", "Volume=9\r\n", "", home + "/System/Snd/C_Remind2.wav",
       ports::Repeat::Loop, true},
      {"level 4 without its loop", "Volume=4\r\nFilename=/sounds/level4.wav\r\n", "", level4,
       ports::Repeat::Once, true},
      {"level 4 looped", "Volume=4\r\nFilename=/sounds/level4.wav\r\nLoopFile=1\r\n", "", level4,
       ports::Repeat::Loop, true},
      {"the alarm's own file looped", "Volume=1\r\n",
       "SndFile=1\r\nSndLoop=1\r\nSndFilename=/sounds/own.wav\r\n", own, ports::Repeat::Loop,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ring().StopRing();
    due().ForgetRings();
    sim.sound.ClearEvents();
    sim.SetClock(2026, 1, 5, 10, 14, 59);
    sim.WriteReminder(std::string("[SYSTEM]\r\nCount=1\r\nEveryHour=0\r\n") + c.system +
                      "[0]\r\nHour=10\r\nMin=15\r\nDay1=1\r\n" + c.alarm);
    sim.timers.Advance(4000);
    const auto plays = sim.Plays("ring");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].file, c.file);
    EXPECT_EQ(plays[0].repeat, c.repeat);
    EXPECT_EQ(ring().BeepAllowed, c.beepAllowed);
  }
}

TEST_F(ReminderDueCheckTest, TheChimeSoundsOnceAtEachFullHour) {
  sim.SetClock(2026, 1, 5, 9, 58, 0);
  sim.WriteReminder("[SYSTEM]\r\nEveryHourVolume=1\r\nEveryHourPC=1\r\nEveryHourFQ=2200\r\n");
  sim.timers.Advance(2 * 60 * kMinuteMs + 5 * kMinuteMs);  // to 12:03
  const auto chimes = sim.Plays("chime");
  ASSERT_EQ(chimes.size(), 3u);  // 10:00, 11:00, 12:00
  for (const auto& chime : chimes) {
    EXPECT_EQ(chime.file, (sim.home / "System/Snd/C_EveryHour1.wav").string());
    EXPECT_EQ(chime.repeat, ports::Repeat::Once);
  }
  const auto tones = sim.sound.Tones();
  ASSERT_EQ(tones.size(), 3u);
  EXPECT_EQ(tones[0].frequencyHz, 2200);
  EXPECT_EQ(tones[0].durationMs, 300);
  EXPECT_EQ(tones[1].atMs - tones[0].atMs, 60 * kMinuteMs);
  EXPECT_FALSE(ring().Ringing());  // a chime is not a ring
}

TEST_F(ReminderDueCheckTest, SpeakerBeepsInGroupsOfFourAndLongBeepsAreCut) {
  sim.SetClock(2026, 1, 5, 6, 59, 59);
  sim.WriteReminder(
      "[SYSTEM]\r\nCount=1\r\nUsePC=1\r\nPCFQ=1000\r\nPCDU=150\r\nEveryHour=0\r\n"
      "[0]\r\nHour=07\r\nMin=00\r\nDay1=1\r\n");
  sim.timers.Advance(3000);
  ASSERT_TRUE(ring().Ringing());
  const std::int64_t started = sim.clock.MonotonicMs();
  sim.timers.Advance(5000);
  const auto tones = sim.sound.Tones();
  ASSERT_GE(tones.size(), 8u);
  EXPECT_EQ(tones[0].atMs - started, RingService::kFirstBeepMs);
  std::vector<std::int64_t> gaps;
  for (std::size_t i = 1; i < 8; ++i)
    gaps.push_back(tones[i].atMs - tones[i - 1].atMs);
  EXPECT_EQ(gaps, (std::vector<std::int64_t>{120, 120, 120, 800, 120, 120, 120}));
  for (const auto& tone : tones) {
    EXPECT_EQ(tone.frequencyHz, 1000);
    EXPECT_EQ(tone.durationMs, 100);
  }
  ring().StopRing();
  const std::size_t beeps = sim.sound.Tones().size();
  sim.timers.Advance(5000);
  EXPECT_EQ(sim.sound.Tones().size(), beeps);
  EXPECT_EQ(ring().BeepCount(), 0);
}

TEST_F(ReminderDueCheckTest, DamagedListsRingWhatTheyHoldAndNothingElse) {
  sim.SetClock(2026, 1, 5, 12, 0, 0);
  // A Count far beyond the sections, an hour that is not a number (read as 12), and a
  // sound file that is a text file.
  const auto text = sim.home / "notes.wav";
  testing::WriteBytes(text, "this is not a sound\r\n");
  sim.WriteReminder(
      "[SYSTEM]\r\nCount=2000000000\r\nEveryHour=0\r\nUseSC=1\r\n"
      "[0]\r\nHour=ab\r\nMin=00\r\nDay1=1\r\nSndFile=1\r\nSndFilename=" +
      text.string() + "\r\n");
  sim.timers.Advance(3000);
  const auto plays = sim.Plays("ring");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_FALSE(plays[0].sounded);  // nothing to play, never a default sound
  EXPECT_TRUE(ring().Ringing());   // the ring still holds until it is stopped
  // A missing file reads as no alarms.
  std::filesystem::remove(sim.ProfileFile("reminder"));
  ring().StopRing();
  due().ForgetRings();
  sim.timers.Advance(3000);
  EXPECT_EQ(sim.Plays("ring").size(), 1u);
}

TEST_F(ReminderDueCheckTest, EditsTakeEffectAtTheNextTick) {
  sim.SetClock(2026, 1, 5, 15, 44, 0);
  sim.WriteReminder("[SYSTEM]\r\nCount=0\r\nEveryHour=0\r\n");
  sim.timers.Advance(30'000);
  sim.WriteReminder("[SYSTEM]\r\nCount=1\r\nEveryHour=0\r\n[0]\r\nHour=15\r\nMin=45\r\nDay1=1\r\n");
  sim.timers.Advance(33'000);
  EXPECT_EQ(sim.Plays("ring").size(), 1u);
}

}  // namespace
}  // namespace pelorin
