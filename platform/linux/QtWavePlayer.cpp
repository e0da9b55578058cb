#include "linux/QtWavePlayer.h"

#include <QSoundEffect>
#include <QUrl>
#include <filesystem>
#include <optional>
#include <utility>

#include "common/WaveFile.h"
#include "linux/SoundServerProbe.h"

namespace pelorin::lnx {

QtWavePlayer::QtWavePlayer(std::string name, const ports::Clock& clock)
    : name_(std::move(name)), clock_(clock) {}

QtWavePlayer::~QtWavePlayer() = default;

bool QtWavePlayer::Play(const std::string& file, ports::Repeat repeat) {
  Stop();
  if (file.empty()) return false;
  const std::optional<WaveFormat> format = ReadWaveFormat(std::filesystem::path(file));
  if (!format) return false;
  // Qt's sound system connects to the server once and for good, and waits for a frozen
  // one: with no server answering nothing is asked of it.
  if (ProbeSoundServer() != SoundServerState::kListening) return false;
  if (!effect_) {
    effect_ = std::make_unique<QSoundEffect>();
    effect_->setObjectName(QString::fromStdString(name_));
    QObject::connect(effect_.get(), &QSoundEffect::statusChanged, effect_.get(), [this] {
      if (effect_->status() == QSoundEffect::Error) playing_ = false;
    });
    QObject::connect(effect_.get(), &QSoundEffect::playingChanged, effect_.get(), [this] {
      if (!effect_->isPlaying() && effect_->status() == QSoundEffect::Ready) playing_ = false;
    });
  }
  effect_->setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
  effect_->setLoopCount(repeat == ports::Repeat::Loop ? QSoundEffect::Infinite : 1);
  playing_ = true;
  looped_ = repeat == ports::Repeat::Loop;
  endsAtMs_ = clock_.MonotonicMs() + format->DurationMs();
  effect_->play();
  return true;
}

void QtWavePlayer::Stop() {
  playing_ = false;
  if (effect_) effect_->stop();
}

bool QtWavePlayer::Playing() const {
  return playing_ && (looped_ || clock_.MonotonicMs() < endsAtMs_);
}

}  // namespace pelorin::lnx
