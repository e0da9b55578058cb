#pragma once

#include <memory>
#include <string>

#include "linux/SoundModule.h"
#include "ports/Clock.h"
#include "ports/Log.h"
#include "ports/Sound.h"

namespace pelorin::lnx {

class QtTonePlayer;

// Sound through Qt Multimedia on the desktop's sound server: wave players and the
// beeper's tones. Qt's sound system is loaded, in the sound module, at the first sound,
// so the suite's start-up does not pay for it.
class QtSound : public ports::Sound {
 public:
  QtSound(const ports::Clock& clock, ports::Log& log);
  ~QtSound() override;

  std::unique_ptr<ports::WavePlayer> CreatePlayer(std::string name) override;
  void Tone(int frequencyHz, int durationMs) override;

 private:
  const ports::Clock& clock_;
  SoundModule module_;
  std::unique_ptr<QtTonePlayer> tones_;
};

}  // namespace pelorin::lnx
