#pragma once

#include "core/SubsystemId.h"

namespace pelorin {

struct CoreContext;
class CoreHotkeys;
class MainMenu;
class PasswordGate;
class PowerControl;
class ProfileLoader;

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
};

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

}  // namespace pelorin
