#include "linux/SoundModule.h"

#include <dlfcn.h>

#include <iostream>
#include <system_error>

namespace pelorin::lnx {

std::filesystem::path SoundModule::DefaultFile() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return (program.parent_path() / ".." / "lib" / "pelorin" / "pelorin-sound.so").lexically_normal();
}

std::unique_ptr<SoundEffect> SoundModule::CreateEffect() {
  if (!tried_) {
    tried_ = true;
    // Never unloaded: Qt keeps objects of the module's sound system until the end.
    if (void* module = ::dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      create_ =
          reinterpret_cast<CreateSoundEffectFunction>(::dlsym(module, kCreateSoundEffectSymbol));
    }
    if (create_ == nullptr) {
      const char* why = ::dlerror();
      std::cerr << "pelorin: no sound, the sound module cannot be loaded: "
                << (why != nullptr ? why : file_.string()) << "\n";
    }
  }
  return create_ != nullptr ? std::unique_ptr<SoundEffect>(create_()) : nullptr;
}

}  // namespace pelorin::lnx
