#pragma once

#include <string>

#include "core/CoreContext.h"

namespace pelorin {

// What the menu items do, and the command codes other programs send (101-116,
// 201-203), with the rules for a locked suite and an open Preferences dialog.
class CommandDispatch {
 public:
  explicit CommandDispatch(CoreContext& ctx);

  // WM_COMMAND with a command code; codes that are not allowed now do nothing.
  void Command(int code);

  // A click on a main-menu item, by the item's name ("MainPopup_Calc").
  void MenuClick(const std::string& itemId);
  // Programs submenu: position counted from 0 ("Programs..." is 0, the first entry 2).
  void ProgramsItemClick(int position);
  // Profiles submenu: position counted from 0 (the first profile is 2): a profile
  // change with its password.
  void ProfilesItemClick(int position);

  // The tray icon: a right-button release pops the main menu up at the point; a left
  // release stops ringing and brings the fly panel forward.
  void TrayRightClick(int x, int y);
  void TrayLeftClick();

 private:
  // Whether commands and menu clicks are taken now.
  bool Answering() const;

  CoreContext& ctx_;
};

}  // namespace pelorin
