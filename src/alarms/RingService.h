#pragma once

#include <memory>
#include <string>

#include "ports/Notification.h"
#include "ports/Sound.h"
#include "ports/Timers.h"

namespace pelorin {

struct CoreContext;
class CoreHotkeys;

// The suite's one way to ring: the ring player, the speaker beeper, the stop hot-key
// and the fast tray animation together. The reminder's alarms, Duzuzoze's countdowns
// and the organizer's messages ring through it; the tray icon, the stop hot-key,
// sleep, shutdown and the windows' stop buttons silence it.
//
// A caller prepares the ring (the sound and the fields below) and calls StartRing in
// the same handler. The sound plays with the repetition it was prepared with: the
// standard sounds loop until StopRing, an own file loops only when its loop choice is
// set and otherwise ends by itself (the ring then stays "ringing", with its beeper and
// stop key, until StopRing, as every ring does).
class RingService {
 public:
  // The tray animation's interval while ringing and otherwise.
  static constexpr int kRingingAnimationMs = 100;
  static constexpr int kQuietAnimationMs = 1000;
  // The beeper's rhythm: groups of four beeps 120 ms apart, 800 ms between groups. The
  // first beep comes one interval after the ring starts (1000 ms at first).
  static constexpr int kBeepGapMs = 120;
  static constexpr int kBeepGroupGapMs = 800;
  static constexpr int kFirstBeepMs = 1000;
  // Speaker beeps longer than this would hold the user-interface thread too long.
  static constexpr int kLongestBeepMs = 100;

  RingService(CoreContext& ctx, CoreHotkeys& hotkeys);
  RingService(const RingService&) = delete;
  RingService& operator=(const RingService&) = delete;

  // The ring player (RemShowWave) and the chime player (EHWave); the preferences'
  // previews use them too.
  ports::WavePlayer& RingPlayer() { return *ringPlayer_; }
  ports::WavePlayer& ChimePlayer() { return *chimePlayer_; }

  // The sound the next StartRing plays.
  void PrepareSound(std::string file, ports::Repeat repeat);
  const std::string& PreparedFile() const { return file_; }
  ports::Repeat PreparedRepeat() const { return repeat_; }

  // The ring's settings, set by the caller before StartRing.
  bool UseSoundCard = true;
  bool UsePcSpeaker = false;
  bool BeepAllowed = true;
  int BeepFrequency = 1850;
  int BeepDuration = 80;  // at most kLongestBeepMs when a ring starts

  // Enters ringing; a second call while ringing restarts the sound and leaves the
  // beeper running.
  void StartRing();
  // Returns to silence; safe when nothing rings.
  void StopRing();
  bool Ringing() const { return ringing_; }
  // The position within a group of four beeps (0 to 3).
  int BeepCount() const { return beepCount_; }

  // Ringing started or stopped.
  ports::Notification<> changed;

 private:
  void PCBeepTimerTimer();

  CoreContext& ctx_;
  CoreHotkeys& hotkeys_;
  std::unique_ptr<ports::WavePlayer> ringPlayer_;
  std::unique_ptr<ports::WavePlayer> chimePlayer_;
  std::unique_ptr<ports::Timer> beepTimer_;
  std::string file_;
  ports::Repeat repeat_ = ports::Repeat::Loop;
  int beepCount_ = 0;
  bool ringing_ = false;
};

}  // namespace pelorin
