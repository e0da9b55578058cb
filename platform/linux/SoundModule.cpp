#include "linux/SoundModule.h"

#include <dlfcn.h>

#include <string>
#include <system_error>
#include <utility>

#include "linux/SoundServerProbe.h"

namespace pelorin::lnx {
namespace {

// How long a frozen server may take to answer, and how long it is left alone after.
constexpr std::chrono::milliseconds kServerAnswerWait{200};
constexpr std::chrono::seconds kServerCheckPause{5};

}  // namespace

std::filesystem::path SoundModule::DefaultFile() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return (program.parent_path() / ".." / "lib" / "pelorin" / "pelorin-sound.so").lexically_normal();
}

std::unique_ptr<SoundEffect> SoundModule::CreateEffect() {
  if (!tried_) {
    const auto now = std::chrono::steady_clock::now();
    if (now < nextServerCheck_) return nullptr;
    if (!SoundServerAnswers(kServerAnswerWait)) {
      nextServerCheck_ = now + kServerCheckPause;
      if (!std::exchange(serverSilent_, true))
        log_.Write("sound", "no sound: the sound server does not answer");
      return nullptr;
    }
    serverSilent_ = false;
    tried_ = true;
    // Never unloaded: Qt keeps objects of the module's sound system until the end.
    if (void* module = ::dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      create_ =
          reinterpret_cast<CreateSoundEffectFunction>(::dlsym(module, kCreateSoundEffectSymbol));
    }
    if (create_ == nullptr) {
      const char* why = ::dlerror();
      log_.Write("sound", std::string("no sound: the sound module cannot be loaded: ") +
                              (why != nullptr ? why : file_.string()));
    }
  }
  return create_ != nullptr ? std::unique_ptr<SoundEffect>(create_()) : nullptr;
}

}  // namespace pelorin::lnx
