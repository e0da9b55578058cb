#pragma once

#include <functional>

#include "ports/Notification.h"

namespace pelorin {

// The suite's life: whether it runs and may close, and its two ways out. The main
// window provides the ways out; everyone else asks here whether the suite has ended
// (after QuitNow nothing of the suite acts any more).
class SuiteLifetime {
 public:
  struct Exits {
    std::function<void()> prepareShutdown;
    std::function<void()> saveAndQuit;
    std::function<void()> quitNow;
  };

  void ProvideExits(Exits exits) { exits_ = std::move(exits); }

  bool Ended() const { return ended_; }
  // QuitNow has run: those who keep timers stop them.
  void MarkEnded() {
    if (ended_) return;
    ended_ = true;
    stopTimers();
  }

  void PrepareShutdown() {
    if (!ended_ && exits_.prepareShutdown) exits_.prepareShutdown();
  }
  void SaveAndQuit() {
    if (!ended_ && exits_.saveAndQuit) exits_.saveAndQuit();
  }
  void QuitNow() {
    if (!ended_ && exits_.quitNow) exits_.quitNow();
  }

  // Set at start-up, cleared when shutdown begins: PrepareShutdown saves state only
  // while it is set.
  bool Running = false;
  // Close requests are refused while false.
  bool ClosingAllowed = false;

  // The suite's timers stop: it has ended, or it has saved everything and waits for
  // the system to end it.
  ports::Notification<> stopTimers;

 private:
  bool ended_ = false;
  Exits exits_;
};

}  // namespace pelorin
