#pragma once

#include <string>
#include <string_view>

#include "core/CoreContext.h"
#include "core/MenuItem.h"
#include "core/MenuItemIds.h"

namespace pelorin {

class CoreHotkeys;
class SettingsFile;

// The main menu (MainPopup) with its submenus Programs, Power and Profiles: captions,
// visibility by the Menu flags, the locked and unlocked states, and the pop-ups built
// from it. Clicks go to the command registry.
class MainMenu {
 public:
  enum class Submenu { Programs, Profiles, Power };

  // `hotkeys` takes the menu key.
  MainMenu(CoreContext& ctx, CoreHotkeys& hotkeys);

  // Whether the part of the suite behind an item exists in this build: its subsystem
  // filled the item's click. Items whose part is missing stay hidden whatever their
  // flags say; the entries of the Programs and Profiles submenus always exist.
  bool InThisBuild(std::string_view itemId) const;

  const MenuItem& Root() const { return root_; }
  // The item with this id; std::out_of_range for an id the menu does not have.
  MenuItem& Item(const std::string& id);

  // Each item with a Menu flag is shown exactly when its flag is true (items of the
  // parts of the suite that do not exist yet stay hidden).
  void ApplyMenuVisibility();
  void ApplyLockedMenu();
  void ApplyUnlockedMenu();

  // Profiles submenu: "Profiles...", a separator, one radio item per profile
  // (caption: its Name, default "?"), read from the open system settings.
  void RebuildProfilesSubmenu(const SettingsFile& systemSettings, int profilesCount);
  void CheckProfile(int number);

  // Programs submenu: "Programs..." and a separator, then the entries.
  void ResetProgramsSubmenu();
  void AddProgramItem(const std::string& caption, int picture);
  void RemoveProgramItem(int entry);  // entry counted from 0

  // Pops the main menu (or a submenu at the pointer) up; nothing unless a profile is
  // active and the Preferences dialog is closed.
  void ShowMainMenu(int x, int y);
  void ShowSubmenu(Submenu which);
  // The same submenu at a given screen position (the fly panel's buttons).
  void ShowSubmenuAt(Submenu which, int x, int y);
  // Set when a pop-up was shown; the 1-second timer repaints the strip and clears it.
  bool PopupShown() const { return popupShown_; }
  void ForgetPopup() { popupShown_ = false; }

 private:
  bool MayPopUp() const;
  void PopUp(const MenuItem& menu, int x, int y);
  // Gives every Programs entry the click of its present position in the submenu.
  void BindProgramItems();

  CoreContext& ctx_;
  MenuItem root_;
  bool popupShown_ = false;
};

}  // namespace pelorin
