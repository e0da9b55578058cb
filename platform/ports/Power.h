#pragma once

#include <functional>

namespace pelorin::ports {

// What the system can be asked to do with the computer or the session. "Shut down"
// and "power off" are one call here: the system has no separate shut-down state.
enum class PowerCall { PowerOff, Reboot, LogOff, Suspend, Hibernate };

// The computer's power and the user's session, and the system's own sleep.
class Power {
 public:
  virtual ~Power() = default;

  // Whether the system allows the call now (it may still ask the user to confirm).
  virtual bool Allowed(PowerCall call) = 0;
  // Asks the system to carry the call out; false when the request could not be made
  // or the system refused it.
  virtual bool Perform(PowerCall call) = 0;

  // Called on the user-interface thread when the computer is about to sleep
  // (`suspending` true) and when it has woken up again (false).
  virtual void SetOnSleep(std::function<void(bool suspending)> handler) = 0;
};

}  // namespace pelorin::ports
