#include "sim/SimSound.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/WaveFile.h"

namespace pelorin::sim {

class SimSound::Player : public ports::WavePlayer {
 public:
  Player(SimSound& sound, std::string name) : sound_(sound), name_(std::move(name)) {
    sound_.players_.push_back(this);
  }
  ~Player() override { std::erase(sound_.players_, this); }

  bool Play(const std::string& file, ports::Repeat repeat) override {
    playing_ = false;
    const std::optional<WaveFormat> format =
        file.empty() ? std::nullopt : ReadWaveFormat(std::filesystem::path(file));
    const bool sounds = format.has_value() && sound_.deviceAvailable_;
    const std::int64_t now = sound_.clock_.MonotonicMs();
    sound_.Record({.kind = SoundEvent::Kind::Play,
                   .atMs = now,
                   .player = name_,
                   .file = file,
                   .repeat = repeat,
                   .sounded = sounds});
    if (!sounds) return false;
    playing_ = true;
    looped_ = repeat == ports::Repeat::Loop;
    endsAtMs_ = now + format->DurationMs();
    return true;
  }

  void Stop() override {
    const bool wasPlaying = Playing();
    playing_ = false;
    if (wasPlaying)
      sound_.Record(
          {.kind = SoundEvent::Kind::Stop, .atMs = sound_.clock_.MonotonicMs(), .player = name_});
  }

  bool Playing() const override {
    return playing_ && (looped_ || sound_.clock_.MonotonicMs() < endsAtMs_);
  }

 private:
  SimSound& sound_;
  std::string name_;
  bool playing_ = false;
  bool looped_ = false;
  std::int64_t endsAtMs_ = 0;
};

SimSound::SimSound(const ports::Clock& clock) : clock_(clock) {}

SimSound::~SimSound() = default;

std::unique_ptr<ports::WavePlayer> SimSound::CreatePlayer(std::string name) {
  return std::make_unique<Player>(*this, std::move(name));
}

void SimSound::Tone(int frequencyHz, int durationMs) {
  Record({.kind = SoundEvent::Kind::Tone,
          .atMs = clock_.MonotonicMs(),
          .frequencyHz = frequencyHz,
          .durationMs = durationMs});
}

std::vector<SoundEvent> SimSound::Tones() const {
  std::vector<SoundEvent> tones;
  std::ranges::copy_if(events_, std::back_inserter(tones),
                       [](const SoundEvent& e) { return e.kind == SoundEvent::Kind::Tone; });
  return tones;
}

bool SimSound::AnyPlaying() const {
  return std::ranges::any_of(players_, [](const Player* p) { return p->Playing(); });
}

void SimSound::Record(SoundEvent event) {
  events_.push_back(event);
  if (onEvent_) onEvent_(events_.back());
}

}  // namespace pelorin::sim
