#pragma once

#include <string>

namespace pelorin::lnx {

// One sound of Qt Multimedia, as the sound module (platform/qtsound) makes it. The
// module is loaded at the first sound, so that the suite's start-up does not load Qt's
// sound system and the libraries beneath it; this interface, free of Qt, is all the
// program sees of it.
class SoundEffect {
 public:
  virtual ~SoundEffect() = default;

  // Starts `file`, a wave file already judged playable, from its beginning.
  virtual void Play(const std::string& file, bool loop) = 0;
  virtual void Stop() = 0;
  // The sound has ended by itself, or the sound system could not play it.
  virtual bool Ended() const = 0;
};

// The module's one entry: a new sound effect, owned by the caller.
using CreateSoundEffectFunction = SoundEffect* (*)();
inline constexpr const char* kCreateSoundEffectSymbol = "pelorin_CreateSoundEffect";

}  // namespace pelorin::lnx
