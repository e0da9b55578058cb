#pragma once

#include <memory>
#include <vector>

#include "core/SubsystemId.h"

namespace pelorin {

struct CoreContext;
class CoreHotkeys;
class MainMenu;
class PasswordGate;
class PowerControl;
class ProfileLoader;

// One applet subsystem (organizer, books, alarms, agents, multimedia, launcher, prefs):
// it owns its window models and services and takes part in the suite's life by filling
// its rows of the core's tables when it is made (the profile load, shutdown, closing
// the windows, sleep and wake-up, the timers' ticks, its menu items, hot-keys and
// password actions). It is made once, after the core, by its factory.
class AppletSubsystem {
 public:
  virtual ~AppletSubsystem() = default;
  virtual SubsystemId Id() const = 0;
};

// The core's services an applet subsystem is made with: the shared context (ports,
// files, shared values, lifetime, step tables, password actions, commands, hooks,
// window places), the password gate, the hot-key registry, the power actions, the
// main menu's submenus and the profile load.
struct SubsystemServices {
  CoreContext& core;
  PasswordGate& passwords;
  CoreHotkeys& hotkeys;
  PowerControl& power;
  MainMenu& menu;
  ProfileLoader& loader;
  // The subsystems made before this one, in the factory list's order: the services one
  // subsystem offers another (the alarms' ring service for the organizer).
  const std::vector<std::unique_ptr<AppletSubsystem>>* madeBefore = nullptr;

  // The subsystem of type T made before this one, or nullptr.
  template <typename T>
  T* MadeBefore() const {
    if (madeBefore == nullptr) return nullptr;
    for (const std::unique_ptr<AppletSubsystem>& made : *madeBefore) {
      if (T* found = dynamic_cast<T*>(made.get())) return found;
    }
    return nullptr;
  }
};

}  // namespace pelorin
