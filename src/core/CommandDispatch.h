#pragma once

#include <string>

#include "core/CoreContext.h"

namespace pelorin {

class MainMenu;

// The command codes other programs send (101-116, 201-203), with the rules for a
// locked suite and an open Preferences dialog, and the tray icon's clicks. The menu's
// items run through the command registry, where their subsystems filled them.
class CommandDispatch {
 public:
  CommandDispatch(CoreContext& ctx, MainMenu& menu);

  // WM_COMMAND with a command code; codes that are not allowed now do nothing.
  void Command(int code);

  // A click on a main-menu item, by the item's name ("MainPopup_Calc").
  void MenuClick(const std::string& itemId);
  // Programs submenu: position counted from 0 ("Programs..." is 0, the first entry 2).
  void ProgramsItemClick(int position);
  // Profiles submenu: position counted from 0 ("Profiles..." is 0, the first profile 2).
  void ProfilesItemClick(int position);

  // The tray icon: a right-button release pops the main menu up at the point; a left
  // release runs its steps (stop ringing, the fly panel forward).
  void TrayRightClick(int x, int y);
  void TrayLeftClick();

 private:
  CoreContext& ctx_;
  MainMenu& menu_;
};

}  // namespace pelorin
