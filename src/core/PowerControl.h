#pragma once

#include <functional>
#include <string>

#include "core/CoreContext.h"
#include "core/TF_Sleep.h"

namespace pelorin {

// The suite's power actions (power off, shut down, hibernate, sleep, restart, log off)
// with the questions of the Power menu and the power hot-keys, and the following of the
// system's own sleep: before the computer sleeps the suite stops its timers, closes its
// windows and releases its hot-keys; when it wakes, they start again.
class PowerControl {
 public:
  // The power kinds, as the PC agent stores them.
  enum Kind {
    kTurnOff = 0,
    kShutDown = 1,
    kHibernate = 2,
    kSleep = 3,
    kRestart = 4,
    kLogOff = 5,
  };

  // The power events: about to sleep, woken by the user, woken automatically.
  static constexpr int kSuspendEvent = 4;
  static constexpr int kResumeEvent = 7;
  static constexpr int kAutomaticResumeEvent = 18;
  // The answer to every power event.
  static constexpr int kEventAnswer = 255;

  explicit PowerControl(CoreContext& ctx);
  ~PowerControl();
  PowerControl(const PowerControl&) = delete;
  PowerControl& operator=(const PowerControl&) = delete;

  // Follows the system's sleep from now on (suspend and resume through WMPowerBroadcast).
  void Attach();

  // Performs a power kind without a question. The kinds that end the session ask the
  // system first and, when it does not allow them, say so and change nothing; when it
  // does, the suite saves, asks for the action and ends. Hibernate and sleep leave the
  // suite running. Other kinds do nothing. `whenDone` runs once the action is over
  // while the suite still runs (refused, a kind that does nothing, sleep or hibernate
  // carried out); never when the suite ends for it.
  void PowerAction(int kind, std::function<void()> whenDone = {});

  // The items of the Power menu: MainPopup_PowerOff, MainPopup_Hibernate,
  // MainPopup_Sleep, MainPopup_Restart.
  void MenuClick(const std::string& itemId);

  // A press of power hot-key 1, 2 or 3: its kind is pcagent.hif Power/Func1..Func3, read
  // now. The first asks before it acts, the others act at once.
  void PowerHotkey(int which);

  // A power event of the system; answers kEventAnswer.
  int WMPowerBroadcast(int event);

  bool Sleeping() const { return sleeping_; }
  TF_Sleep& Sleep() { return sleep_; }

 private:
  // The question before a kind (none for sleep); true when the user answered Yes.
  bool Confirmed(int kind, bool systemModal);
  void ShowRefusal(int kind, bool closing);
  void Suspend();
  void Resume();
  bool Ended() const;

  CoreContext& ctx_;
  TF_Sleep sleep_;
  bool sleeping_ = false;
  bool attached_ = false;
};

}  // namespace pelorin
