#pragma once

#include "core/CoreContext.h"

namespace pelorin {

class CoreHotkeys;
class MainMenu;
class PasswordGate;
class ProfileLoader;

// The change of profile: a profile item of the Profiles submenu leaves the current
// profile and asks the new one's password (pending action 7, also used for the start
// profile); the accepted password loads the new profile, a cancelled one goes back to
// the old profile, or, at start-up, ends the suite or shows the selection again.
class ProfileSwitch {
 public:
  ProfileSwitch(CoreContext& ctx, PasswordGate& passwords, ProfileLoader& loader, MainMenu& menu,
                CoreHotkeys& hotkeys);

  // Profiles submenu: position counted from 0 (the first profile is 2).
  void ProfilesItemClick(int position);

 private:
  void Accepted();
  void CancelPressed();

  CoreContext& ctx_;
  PasswordGate& passwords_;
  ProfileLoader& loader_;
  MainMenu& menu_;
  CoreHotkeys& hotkeys_;
};

}  // namespace pelorin
