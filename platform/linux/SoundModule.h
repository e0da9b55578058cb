#pragma once

#include <filesystem>
#include <memory>

#include "linux/SoundEffect.h"

namespace pelorin::lnx {

// The sound module, loaded at the first call and kept for the life of the program: it is
// pelorin-sound.so in lib/pelorin beside the program's bin folder, in the build tree as
// in an installation.
class SoundModule {
 public:
  SoundModule() = default;
  // A module file of the caller's choice (tests).
  explicit SoundModule(std::filesystem::path file) : file_(std::move(file)) {}

  // A new sound effect, or nothing when the module cannot be loaded (said once on
  // standard error).
  std::unique_ptr<SoundEffect> CreateEffect();

  static std::filesystem::path DefaultFile();

 private:
  std::filesystem::path file_ = DefaultFile();
  bool tried_ = false;
  CreateSoundEffectFunction create_ = nullptr;
};

}  // namespace pelorin::lnx
