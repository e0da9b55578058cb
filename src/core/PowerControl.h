#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/CoreContext.h"
#include "core/TF_Sleep.h"

namespace pelorin {

class CoreHotkeys;

// The suite's power actions (power off, shut down, hibernate, sleep, restart, log off)
// with the questions of the Power menu and the power hot-keys, and the following of the
// system's own sleep: before the computer sleeps the suite stops its timers, closes its
// windows and releases its hot-keys; when it wakes, they start again.
//
// The system's answers come later, from the event loop: an action goes on in their
// replies and the user interface never waits for the system. One action is on its way
// at a time; a power request made meanwhile is ignored, and what it wanted run when
// it is over runs when the action on its way is over.
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

  // Follows the system's sleep (suspend and resume through WMPowerBroadcast) from the
  // start; `hotkeys` takes the three power hot-keys.
  PowerControl(CoreContext& ctx, CoreHotkeys& hotkeys);
  ~PowerControl();
  PowerControl(const PowerControl&) = delete;
  PowerControl& operator=(const PowerControl&) = delete;

  // Performs a power kind without a question. The kinds that end the session ask the
  // system first and, when it does not allow them (or gives no answer in time), say so
  // and change nothing; when it does, the suite saves, asks for the action and ends.
  // Hibernate and sleep leave the suite running. Other kinds do nothing.
  //
  // `whenDone` runs once when the action is over and the suite still runs: refused,
  // failed, unanswered, hibernate or sleep carried out and the computer awake again (or
  // not gone to sleep after all), a kind that does nothing (at once, before PowerAction
  // returns), or a request ignored because another action was on its way (when that
  // one is over). It never runs once the suite has ended.
  void PowerAction(int kind, std::function<void()> whenDone = {});

  // Whether an action is on its way (power requests are ignored meanwhile).
  bool ActionUnderway() const { return stage_ != Stage::Idle; }

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
  // Where the action on its way stands.
  enum class Stage {
    Idle,
    Asking,         // an ending kind: whether the system allows it
    Performing,     // the call has been made, its answer is awaited
    AwaitingSleep,  // hibernate or sleep accepted, the computer has not gone to sleep yet
    AwaitingWake,   // the computer sleeps (or is about to) and the action ends on waking
  };

  // The question before a kind (none for sleep); true when the user answered Yes.
  bool Confirmed(int kind, bool systemModal);
  void ShowRefusal(int kind, ports::PowerAnswer answer, bool closing);
  void EndingKindAllowed(int kind, ports::PowerAnswer answer);
  void EndingKindPerformed(int kind, ports::PowerAnswer answer);
  void SleepKindPerformed(int kind, ports::PowerAnswer answer);
  // The system's sleep as far as the action on its way waits for it.
  void FollowSleepOfAction(int event);
  void SleepDidNotBegin();
  // The action is over: its requests' whenDone run.
  void FinishAction();
  // Runs `then` with the answer unless this object has gone meanwhile.
  ports::PowerReply Reply(void (PowerControl::*then)(int, ports::PowerAnswer), int kind);
  void BindSteps();
  void Suspend();
  void Resume();
  bool Ended() const;

  CoreContext& ctx_;
  CoreHotkeys& hotkeys_;
  TF_Sleep sleep_;
  bool sleeping_ = false;

  Stage stage_ = Stage::Idle;
  // The sleep that hibernate or sleep asked for: begun, and over again.
  bool actionSleepBegan_ = false;
  bool actionSleepOver_ = false;
  std::vector<std::function<void()>> whenDone_;
  // How long an accepted hibernate or sleep may take to begin before it counts as not
  // happening.
  std::unique_ptr<ports::Timer> sleepStartWait_;
  ports::Subscription sleepFromSystem_;
  // Replies of the system check it: they may come after this object has gone.
  std::shared_ptr<PowerControl*> self_ = std::make_shared<PowerControl*>(this);
};

}  // namespace pelorin
