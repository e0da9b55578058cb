#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/SubsystemId.h"

namespace pelorin {

// A call the core makes into one subsystem that provides it (the fly panel forward,
// the profile selection window). Until its subsystem exists nobody provides it, and
// calling it does nothing.
template <typename... Args>
class Hook {
 public:
  explicit Hook(SubsystemId owner) : owner_(owner) {}
  Hook(const Hook&) = delete;
  Hook& operator=(const Hook&) = delete;

  void Provide(SubsystemId owner, std::function<void(Args...)> call) {
    if (owner != owner_ || call_) {
      throw std::logic_error("a hook of " + std::string(SubsystemName(owner_)) + " provided by " +
                             std::string(SubsystemName(owner)));
    }
    call_ = std::move(call);
  }
  bool Provided() const { return static_cast<bool>(call_); }
  void operator()(Args... args) const {
    if (call_) call_(args...);
  }

 private:
  SubsystemId owner_;
  std::function<void(Args...)> call_;
};

// The single calls of the core into the applets.
struct SuiteHooks {
  // The profile selection window, at start-up and after a cancelled password there.
  Hook<> ShowProfileSelection{SubsystemId::Prefs};
  // The fly panel's window to the foreground (menu items, the lock, the notebook key).
  Hook<> BringFlyPanelForward{SubsystemId::Multimedia};
};

}  // namespace pelorin
