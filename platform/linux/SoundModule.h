#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

#include "linux/SoundEffect.h"
#include "ports/Log.h"

namespace pelorin::lnx {

// The sound module, loaded at the first call and kept for the life of the program: it is
// pelorin-sound.so in lib/pelorin beside the program's bin folder, in the build tree as
// in an installation.
class SoundModule {
 public:
  explicit SoundModule(ports::Log& log) : log_(log) {}
  // A module file of the caller's choice (tests).
  SoundModule(std::filesystem::path file, ports::Log& log) : log_(log), file_(std::move(file)) {}

  // A new sound effect, or nothing when the module cannot be loaded (said once in the
  // log). Nor is it loaded while the sound server is frozen or absent: Qt's sound system
  // would hold the program for half a minute waiting for it to answer (the log says so
  // once, until it answers).
  std::unique_ptr<SoundEffect> CreateEffect();

  static std::filesystem::path DefaultFile();

 private:
  ports::Log& log_;
  std::filesystem::path file_ = DefaultFile();
  bool serverSilent_ = false;
  bool tried_ = false;
  std::chrono::steady_clock::time_point nextServerCheck_;
  CreateSoundEffectFunction create_ = nullptr;
};

}  // namespace pelorin::lnx
