#include "linux/QtWavePlayer.h"

#include <filesystem>
#include <optional>

#include "common/WaveFile.h"
#include "linux/SoundServerProbe.h"

namespace pelorin::lnx {

QtWavePlayer::QtWavePlayer(const ports::Clock& clock, SoundModule& module)
    : clock_(clock), module_(module) {}

QtWavePlayer::~QtWavePlayer() = default;

bool QtWavePlayer::Play(const std::string& file, ports::Repeat repeat) {
  Stop();
  if (file.empty()) return false;
  const std::optional<WaveFormat> format = ReadWaveFormat(std::filesystem::path(file));
  if (!format) return false;
  // Qt's sound system connects to the server once and for good, and waits for a frozen
  // one: with no server answering nothing is asked of it.
  if (ProbeSoundServer() != SoundServerState::kListening) return false;
  if (!effect_) effect_ = module_.CreateEffect();
  if (!effect_) return false;
  looped_ = repeat == ports::Repeat::Loop;
  effect_->Play(file, looped_);
  playing_ = true;
  endsAtMs_ = clock_.MonotonicMs() + format->DurationMs();
  return true;
}

void QtWavePlayer::Stop() {
  playing_ = false;
  if (effect_) effect_->Stop();
}

bool QtWavePlayer::Playing() const {
  return playing_ && !effect_->Ended() && (looped_ || clock_.MonotonicMs() < endsAtMs_);
}

}  // namespace pelorin::lnx
