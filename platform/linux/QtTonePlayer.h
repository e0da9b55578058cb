#pragma once

#include <QTimer>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "linux/SoundEffect.h"
#include "linux/SoundModule.h"

class QTemporaryDir;

namespace pelorin::lnx {

// The beeper on the sound card. Each tone is synthesised once as a small wave file in a
// private temporary folder (kept by frequency and length) and played with a
// sound effect of the sound module; a tone asked for while one sounds waits for it, so that a
// rhythm of beeps stays a rhythm.
class QtTonePlayer {
 public:
  explicit QtTonePlayer(SoundModule& module);
  ~QtTonePlayer();
  QtTonePlayer(const QtTonePlayer&) = delete;
  QtTonePlayer& operator=(const QtTonePlayer&) = delete;

  void Tone(int frequencyHz, int durationMs);

 private:
  using ToneKey = std::pair<int, int>;  // frequency in Hz, length in ms
  void StartNext();
  SoundEffect* EffectFor(const ToneKey& tone);

  SoundModule& module_;
  std::unique_ptr<QTemporaryDir> folder_;
  std::map<ToneKey, std::unique_ptr<SoundEffect>> effects_;
  std::map<ToneKey, std::string> files_;
  std::deque<ToneKey> waiting_;
  ToneKey current_;  // the last tone started
  QTimer sounding_;  // runs while a tone sounds
};

}  // namespace pelorin::lnx
