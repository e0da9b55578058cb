#pragma once

#include <memory>
#include <string>

namespace pelorin::ports {

enum class Repeat { Once, Loop };

// One wave player: it plays one file at a time, once or looped, asynchronously.
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;

  // Stops what this player plays and starts `file` from its beginning. A missing, empty
  // or malformed file plays nothing, never a default sound, and gives false; so does a
  // sound device that is absent or busy.
  virtual bool Play(const std::string& file, Repeat repeat) = 0;
  // Safe when nothing plays.
  virtual void Stop() = 0;
  // True from a successful Play until Stop or, played once, the end of the sound.
  virtual bool Playing() const = 0;
};

// Sound output: wave players and the beeper's tone.
class Sound {
 public:
  virtual ~Sound() = default;

  // `name` identifies the player in logs and test traces.
  virtual std::unique_ptr<WavePlayer> CreatePlayer(std::string name) = 0;

  // A sine tone of `frequencyHz` for `durationMs` on the sound card, the desktop's
  // stand-in for the PC speaker. It returns at once and plays on its own; a tone asked
  // for while one sounds follows it.
  virtual void Tone(int frequencyHz, int durationMs) = 0;
};

}  // namespace pelorin::ports
