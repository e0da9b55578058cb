#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ports/Clock.h"
#include "ports/Sound.h"

namespace pelorin::sim {

// What the simulated sound card was asked to do, at which moment of the clock's
// monotonic count.
struct SoundEvent {
  enum class Kind { Play, Stop, Tone };
  Kind kind = Kind::Play;
  std::int64_t atMs = 0;
  std::string player = {};  // empty for a tone
  std::string file = {};    // Play only
  ports::Repeat repeat = ports::Repeat::Once;
  bool sounded = false;  // Play: the file was a playable wave and the device answered
  int frequencyHz = 0;   // Tone only
  int durationMs = 0;    // Tone only
};

// A sound card that records every action instead of sounding. A wave file is judged
// by its header as a real player would: a missing, empty or malformed file plays
// nothing; one played once stops by itself when its length has passed on the clock.
class SimSound : public ports::Sound {
 public:
  explicit SimSound(const ports::Clock& clock);
  ~SimSound() override;

  std::unique_ptr<ports::WavePlayer> CreatePlayer(std::string name) override;
  void Tone(int frequencyHz, int durationMs) override;

  const std::vector<SoundEvent>& Events() const { return events_; }
  void ClearEvents() { events_.clear(); }
  // The tones asked for, in order.
  std::vector<SoundEvent> Tones() const;
  // Whether any player sounds now.
  bool AnyPlaying() const;
  // An absent or busy device: every later Play fails.
  void SetDeviceAvailable(bool available) { deviceAvailable_ = available; }
  // Learns of every event as it is recorded (the running sim program logs them).
  void SetOnEvent(std::function<void(const SoundEvent&)> onEvent) { onEvent_ = std::move(onEvent); }

 private:
  class Player;
  void Record(SoundEvent event);

  const ports::Clock& clock_;
  std::vector<SoundEvent> events_;
  std::vector<Player*> players_;
  bool deviceAvailable_ = true;
  std::function<void(const SoundEvent&)> onEvent_;
};

}  // namespace pelorin::sim
