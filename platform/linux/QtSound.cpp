#include "linux/QtSound.h"

#include "linux/QtTonePlayer.h"
#include "linux/QtWavePlayer.h"

namespace pelorin::lnx {

QtSound::QtSound(const ports::Clock& clock, ports::Log& log) : clock_(clock), module_(log) {}

QtSound::~QtSound() = default;

// The real players log nothing, so they need no name.
std::unique_ptr<ports::WavePlayer> QtSound::CreatePlayer(std::string /*name*/) {
  return std::make_unique<QtWavePlayer>(clock_, module_);
}

void QtSound::Tone(int frequencyHz, int durationMs) {
  if (!tones_) tones_ = std::make_unique<QtTonePlayer>(module_);
  tones_->Tone(frequencyHz, durationMs);
}

}  // namespace pelorin::lnx
