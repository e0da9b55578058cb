#pragma once

#include "core/CorePorts.h"
#include "core/MainView.h"
#include "core/SharedValues.h"
#include "storage/Custodo.h"
#include "storage/ScrambledFiles.h"
#include "storage/SuiteLayout.h"

namespace pelorin {

class TF_Main;
class TF_Pass;
class ProfileLoader;
class MainMenu;
class CommandDispatch;
class CoreHotkeys;
class BackgroundTimers;
class WinampRemote;
class ProgramsLinkCheck;
class StatusStrip;
class SuiteLock;
class PowerControl;
class TF_SProfile;
class TF_Profile;

// Everything the parts of the core share: the ports, the user interface, the file
// layout and protocols, the shared values, and the parts themselves (set by Suite once
// all exist, so that each part can call the others).
struct CoreContext {
  CoreContext(CorePorts p, MainView& v, const std::filesystem::path& home);

  CorePorts ports;
  MainView& view;
  SuiteLayout layout;
  Custodo custodo;
  ScrambledFiles files;
  SharedValues values;

  TF_Main* main = nullptr;
  TF_Pass* pass = nullptr;
  ProfileLoader* loader = nullptr;
  MainMenu* menu = nullptr;
  CommandDispatch* commands = nullptr;
  CoreHotkeys* hotkeys = nullptr;
  BackgroundTimers* timers = nullptr;
  WinampRemote* winamp = nullptr;
  ProgramsLinkCheck* links = nullptr;
  SuiteLock* lock = nullptr;
  StatusStrip* strip = nullptr;
  PowerControl* power = nullptr;
  TF_SProfile* selector = nullptr;      // the profile selection window
  TF_Profile* profileEditor = nullptr;  // the profile configuration window
};

}  // namespace pelorin
