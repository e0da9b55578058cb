#pragma once

#include "core/CommandRegistry.h"
#include "core/CorePorts.h"
#include "core/Hook.h"
#include "core/MainView.h"
#include "core/MainWindowPlace.h"
#include "core/PasswordActions.h"
#include "core/SharedValues.h"
#include "core/SuiteLifetime.h"
#include "core/SuiteSteps.h"
#include "core/WindowPlaces.h"
#include "storage/Custodo.h"
#include "storage/ScrambledFiles.h"
#include "storage/SuiteLayout.h"

namespace pelorin {

// What the parts of the suite share: the ports and the user interface, the file layout
// and protocols, the main window's shared values, and the core's services, each whole
// before any part exists: the suite's lifetime, its ordered step tables, the password
// actions, the menu's commands, the single calls into the applets and the window
// places. Parts reach each other only through these services or through the references
// they are given when made.
struct CoreContext {
  CoreContext(CorePorts p, MainView& v, const std::filesystem::path& home);
  ~CoreContext();
  CoreContext(const CoreContext&) = delete;
  CoreContext& operator=(const CoreContext&) = delete;

  CorePorts ports;
  MainView& view;
  SuiteLayout layout;
  SuiteLifetime lifetime;
  Custodo custodo;
  ScrambledFiles files;
  SharedValues values;

  SuiteSteps steps;
  PasswordActions passwordActions;
  SuiteHooks hooks;
  CommandRegistry commands{lifetime, values, hooks};
  MainWindowPlace mainWindow{view};
  WindowPlaces places{*this, mainWindow};

  // The system's notifications, told to every part that listens: the computer about to
  // sleep (true) or awake again (false), and the presses of registered hot-keys (the
  // identifier, the modifier mask and the virtual key).
  ports::Notification<bool> sleep;
  ports::Notification<int, unsigned, int> hotkeyPresses;
};

}  // namespace pelorin
