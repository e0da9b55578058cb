#pragma once

#include <functional>

namespace pelorin::ports {

// What the system can be asked to do with the computer or the session. "Shut down"
// and "power off" are one call here: the system has no separate shut-down state.
enum class PowerCall { PowerOff, Reboot, LogOff, Suspend, Hibernate };

// The system's answer to a question or a call.
enum class PowerAnswer {
  Yes,       // allowed; carried out (or on its way)
  No,        // not allowed; refused or failed, also when the system cannot be reached
  NoAnswer,  // the system gave no answer within the backend's time limit
};

using PowerReply = std::function<void(PowerAnswer)>;

// The computer's power and the user's session, and the system's own sleep.
//
// Nothing here waits for the system: the answer comes through `reply`, exactly once,
// on the user-interface thread and always after the asking call has returned (from
// the event loop, or a timer of the simulation), also when the system cannot be
// reached at all.
class Power {
 public:
  virtual ~Power() = default;

  // Whether the system allows the call now (it may still ask the user to confirm).
  virtual void Allowed(PowerCall call, PowerReply reply) = 0;
  // Asks the system to carry the call out.
  virtual void Perform(PowerCall call, PowerReply reply) = 0;

  // Called on the user-interface thread when the computer is about to sleep
  // (`suspending` true) and when it has woken up again (false).
  virtual void SetOnSleep(std::function<void(bool suspending)> handler) = 0;
};

}  // namespace pelorin::ports
