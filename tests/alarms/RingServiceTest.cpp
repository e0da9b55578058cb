#include <gtest/gtest.h>

#include <functional>

#include "alarms/AlarmsOnSim.h"
#include "core/CoreHotkeys.h"
#include "core/PowerControl.h"

namespace pelorin {
namespace {

using testing::AlarmsOnSim;

constexpr unsigned kCtrl = 2;
constexpr int kF8 = 0x77;

// A ring as a caller prepares it: the sound, the speaker, then StartRing.
void StartLoopedRing(AlarmsOnSim& sim) {
  RingService& ring = sim.alarms.Ring();
  ring.PrepareSound(sim.MakeWave("bell.wav").string(), ports::Repeat::Loop);
  ring.UseSoundCard = true;
  ring.UsePcSpeaker = true;
  ring.BeepAllowed = true;
  ring.StartRing();
}

int StopKeyId(AlarmsOnSim& sim) {
  return sim.suite.hotkeys().AtomId("PELN_REM");
}

TEST(RingServiceTest, RingingHoldsTheStopKeyAndTheFastTrayUntilStopped) {
  AlarmsOnSim sim;
  sim.suite.hotkeys().Keys().Reminder = {.Key = kF8, .Ctrl = 1};
  RingService& ring = sim.alarms.Ring();
  EXPECT_FALSE(sim.hotkeys.Registered().contains(StopKeyId(sim)));

  StartLoopedRing(sim);
  EXPECT_TRUE(ring.Ringing());
  EXPECT_TRUE(sim.sound.AnyPlaying());
  EXPECT_TRUE(sim.view.trayRinging);
  ASSERT_TRUE(sim.hotkeys.Registered().contains(StopKeyId(sim)));

  // A second start restarts the sound and leaves the beeper's rhythm alone.
  sim.timers.Advance(1000 + 120);
  EXPECT_EQ(ring.BeepCount(), 2);
  StartLoopedRing(sim);
  EXPECT_EQ(ring.BeepCount(), 2);
  EXPECT_EQ(sim.Plays("ring").size(), 2u);

  ring.StopRing();
  EXPECT_FALSE(ring.Ringing());
  EXPECT_FALSE(sim.sound.AnyPlaying());
  EXPECT_FALSE(sim.view.trayRinging);
  EXPECT_FALSE(sim.hotkeys.Registered().contains(StopKeyId(sim)));
  ring.StopRing();  // nothing rings: nothing happens
  EXPECT_FALSE(ring.Ringing());
}

TEST(RingServiceTest, WithoutAStopKeyNothingIsRegistered) {
  AlarmsOnSim sim;
  StartLoopedRing(sim);
  EXPECT_TRUE(sim.alarms.Ring().Ringing());
  EXPECT_FALSE(sim.hotkeys.Registered().contains(StopKeyId(sim)));
}

TEST(RingServiceTest, EveryPlaceThatSilencesTheSuiteStopsTheRing) {
  using Stop = std::function<void(AlarmsOnSim&)>;
  const std::vector<std::pair<const char*, Stop>> stoppers = {
      {"the tray icon's left button", [](AlarmsOnSim& s) { s.suite.commands().TrayLeftClick(); }},
      {"the stop hot-key", [](AlarmsOnSim& s) { s.hotkeys.Press(kCtrl, kF8); }},
      {"the computer going to sleep",
       [](AlarmsOnSim& s) { s.suite.power().WMPowerBroadcast(PowerControl::kSuspendEvent); }},
      {"the reminder's stop button", [](AlarmsOnSim& s) { s.alarms.Reminder().SndStopClick(); }},
      {"Duzuzoze's timer reset", [](AlarmsOnSim& s) { s.alarms.Duzuzoze().Button5Click(); }},
      {"shutdown", [](AlarmsOnSim& s) { s.suite.main().PrepareShutdown(); }},
  };
  for (const auto& [name, stop] : stoppers) {
    SCOPED_TRACE(name);
    AlarmsOnSim sim;
    sim.suite.hotkeys().Keys().Reminder = {.Key = kF8, .Ctrl = 1};
    StartLoopedRing(sim);
    ASSERT_TRUE(sim.alarms.Ring().Ringing());
    stop(sim);
    EXPECT_FALSE(sim.alarms.Ring().Ringing());
    EXPECT_FALSE(sim.sound.AnyPlaying());
  }
}

TEST(RingServiceTest, SleepStopsTheDueCheckAndWakingStartsIt) {
  AlarmsOnSim sim;
  sim.alarms.DueCheck().Start();
  sim.suite.power().WMPowerBroadcast(PowerControl::kSuspendEvent);
  EXPECT_FALSE(sim.alarms.DueCheck().Running());
  sim.suite.power().WMPowerBroadcast(PowerControl::kResumeEvent);
  EXPECT_TRUE(sim.alarms.DueCheck().Running());
}

}  // namespace
}  // namespace pelorin
