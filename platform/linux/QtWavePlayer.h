#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "linux/SoundEffect.h"
#include "linux/SoundModule.h"
#include "ports/Clock.h"
#include "ports/Sound.h"

namespace pelorin::lnx {

// A wave player on the desktop's sound server through the sound module's QSoundEffect.
// The file is judged by its header before Qt sees it, so that nothing but a real PCM
// sound is played. Its sound effect is made at the first Play: a suite that never rings
// never loads the sound system.
class QtWavePlayer : public ports::WavePlayer {
 public:
  QtWavePlayer(const ports::Clock& clock, SoundModule& module);
  ~QtWavePlayer() override;

  bool Play(const std::string& file, ports::Repeat repeat) override;
  void Stop() override;
  bool Playing() const override;

 private:
  const ports::Clock& clock_;
  SoundModule& module_;
  std::unique_ptr<SoundEffect> effect_;
  bool playing_ = false;
  bool looped_ = false;
  // Without a sound device QSoundEffect plays for ever: a sound played once is over
  // when its length, taken from its header, has passed.
  std::int64_t endsAtMs_ = 0;
};

}  // namespace pelorin::lnx
