#pragma once

#include "core/CoreContext.h"

namespace pelorin {

class MainMenu;
class PasswordGate;
class TF_Main;

// The lock: the "Lock" item locks the suite after a question and "Unlock" asks for
// the general password. The state is kept per profile in main.hf
// STARTUP/StateBlocked at every change, so that a profile that remembers its lock
// state starts the way it was left.
class SuiteLock {
 public:
  SuiteLock(CoreContext& ctx, MainMenu& menu, TF_Main& main, PasswordGate& passwords);

  // The "Lock"/"Unlock" item (command 115).
  void MainPopup_BlockClick();
  // The general password was given: the menu opens again.
  void Unlock();

 private:
  void Lock();
  void StoreLockState(bool locked);

  CoreContext& ctx_;
  MainMenu& menu_;
  TF_Main& main_;
  PasswordGate& passwords_;
};

}  // namespace pelorin
