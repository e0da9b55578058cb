#include "linux/QtTonePlayer.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <string>
#include <vector>

#include "common/SineTone.h"
#include "common/WaveFile.h"
#include "linux/SoundServerProbe.h"

namespace pelorin::lnx {
namespace {

constexpr int kSampleRate = 48000;  // the sound server's own rate: nothing to resample
constexpr double kAmplitude = 0.5;
// Audible frequencies below the sample rate's limit, and tones no longer than a while.
constexpr int kLowestHz = 20;
constexpr int kHighestHz = 20000;
constexpr int kLongestMs = 10000;
// QSoundEffect ends its stream as soon as it has handed over the last samples, and the
// server drops what it still holds: a tone carries silence after it, so that all of it
// sounds. The next tone does not wait for that silence.
constexpr int kTrailingSilenceMs = 250;
// A beeper that falls this far behind drops what comes next instead of lagging on.
constexpr std::size_t kMostWaiting = 8;
// Tones of this many kinds are kept ready; beyond it the cache starts afresh.
constexpr std::size_t kMostKept = 32;

}  // namespace

QtTonePlayer::QtTonePlayer(SoundModule& module) : module_(module) {
  sounding_.setSingleShot(true);
  QObject::connect(&sounding_, &QTimer::timeout, &sounding_, [this] { StartNext(); });
}

QtTonePlayer::~QtTonePlayer() = default;

void QtTonePlayer::Tone(int frequencyHz, int durationMs) {
  if (durationMs <= 0 || waiting_.size() >= kMostWaiting) return;
  // Qt's sound system connects to the server once and for good, and waits for a frozen
  // one: with no server answering nothing is asked of it.
  if (ProbeSoundServer() != SoundServerState::kListening) return;
  waiting_.emplace_back(std::clamp(frequencyHz, kLowestHz, kHighestHz),
                        std::min(durationMs, kLongestMs));
  if (!sounding_.isActive()) StartNext();
}

void QtTonePlayer::StartNext() {
  while (!waiting_.empty()) {
    const ToneKey tone = waiting_.front();
    waiting_.pop_front();
    if (SoundEffect* effect = EffectFor(tone)) {
      current_ = tone;
      effect->Play(files_[tone], false);
      sounding_.start(tone.second);
      return;
    }
  }
}

SoundEffect* QtTonePlayer::EffectFor(const ToneKey& tone) {
  if (const auto found = effects_.find(tone); found != effects_.end()) return found->second.get();
  if (!folder_) {
    folder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/pelorin-tones-XXXXXX");
  }
  if (!folder_->isValid()) return nullptr;
  const QString file =
      folder_->filePath(QStringLiteral("tone-%1Hz-%2ms.wav").arg(tone.first).arg(tone.second));
  std::vector<std::int16_t> samples = SineTone(tone.first, tone.second, kSampleRate, kAmplitude);
  samples.resize(samples.size() + kTrailingSilenceMs * kSampleRate / 1000);
  if (!WriteWaveFile(file.toStdString(), kSampleRate, samples)) return nullptr;
  if (effects_.size() >= kMostKept) {
    // The one that sounds now stays, and sounds to its end.
    std::erase_if(effects_, [this](const auto& entry) { return entry.first != current_; });
    std::erase_if(files_, [this](const auto& entry) { return entry.first != current_; });
  }
  std::unique_ptr<SoundEffect> effect = module_.CreateEffect();
  if (!effect) return nullptr;
  files_[tone] = file.toStdString();
  return effects_.emplace(tone, std::move(effect)).first->second.get();
}

}  // namespace pelorin::lnx
