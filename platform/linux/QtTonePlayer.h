#pragma once

#include <QTimer>
#include <deque>
#include <map>
#include <memory>
#include <utility>

class QSoundEffect;
class QTemporaryDir;

namespace pelorin::lnx {

// The beeper on the sound card. Each tone is synthesised once as a small wave file in a
// private temporary folder (kept by frequency and length) and played with a
// QSoundEffect; a tone asked for while one sounds waits for it, so that a rhythm of
// beeps stays a rhythm.
class QtTonePlayer {
 public:
  QtTonePlayer();
  ~QtTonePlayer();
  QtTonePlayer(const QtTonePlayer&) = delete;
  QtTonePlayer& operator=(const QtTonePlayer&) = delete;

  void Tone(int frequencyHz, int durationMs);

 private:
  using ToneKey = std::pair<int, int>;  // frequency in Hz, length in ms
  void StartNext();
  QSoundEffect* EffectFor(const ToneKey& tone);

  std::unique_ptr<QTemporaryDir> folder_;
  std::map<ToneKey, std::unique_ptr<QSoundEffect>> effects_;
  std::deque<ToneKey> waiting_;
  ToneKey current_;  // the last tone started
  QTimer sounding_;  // runs while a tone sounds
};

}  // namespace pelorin::lnx
