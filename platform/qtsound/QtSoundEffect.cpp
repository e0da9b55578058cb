// The sound module: QSoundEffect behind the Qt-free SoundEffect interface. Built as a
// module of its own and loaded by the program at its first sound.
#include <QSoundEffect>
#include <QString>
#include <QUrl>

#include "linux/SoundEffect.h"

namespace pelorin::lnx {
namespace {

class QtSoundEffect : public SoundEffect {
 public:
  QtSoundEffect() {
    QObject::connect(&effect_, &QSoundEffect::statusChanged, &effect_, [this] {
      if (effect_.status() == QSoundEffect::Error) ended_ = true;
    });
    QObject::connect(&effect_, &QSoundEffect::playingChanged, &effect_, [this] {
      if (!effect_.isPlaying() && effect_.status() == QSoundEffect::Ready) ended_ = true;
    });
  }

  void Play(const std::string& file, bool loop) override {
    effect_.setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
    effect_.setLoopCount(loop ? QSoundEffect::Infinite : 1);
    ended_ = false;
    effect_.play();
  }
  void Stop() override {
    ended_ = true;
    effect_.stop();
  }
  bool Ended() const override { return ended_; }

 private:
  QSoundEffect effect_;
  bool ended_ = true;
};

}  // namespace
}  // namespace pelorin::lnx

extern "C" __attribute__((visibility("default"))) pelorin::lnx::SoundEffect*
pelorin_CreateSoundEffect() {
  return new pelorin::lnx::QtSoundEffect;
}
