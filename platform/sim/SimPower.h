#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ports/Power.h"
#include "ports/Timers.h"

namespace pelorin::sim {

// A simulated system: it answers questions and calls after a short while on the given
// timers (so that a caller's flow goes on from the event loop, as with a real system),
// records the calls it carries out, and lets tests refuse calls, leave them without an
// answer, and put the computer to sleep and wake it up.
class SimPower : public ports::Power {
 public:
  explicit SimPower(ports::Timers& timers) : timers_(timers) {}
  ~SimPower() override;
  SimPower(const SimPower&) = delete;
  SimPower& operator=(const SimPower&) = delete;

  void Allowed(ports::PowerCall call, ports::PowerReply reply) override;
  void Perform(ports::PowerCall call, ports::PowerReply reply) override;
  void SetOnSleep(std::function<void(bool)> handler) override { onSleep_ = std::move(handler); }

  void InjectSuspend();
  void InjectResume();

  // Refuses the call: the question and the call itself are both answered No.
  void Refuse(ports::PowerCall call);
  // Answers and replies still on their way.
  std::size_t PendingAnswers() const;

  // The answers given; a call that is not listed is allowed and carried out.
  std::map<ports::PowerCall, ports::PowerAnswer> allowedAnswers;
  std::map<ports::PowerCall, ports::PowerAnswer> performAnswers;
  // How long an answer takes, and after how long the system's silence ends in
  // PowerAnswer::NoAnswer (the time limit of the real backend).
  int answerDelayMs = 10;
  int noAnswerAfterMs = 1500;

  std::vector<ports::PowerCall> requested;  // every Perform, in order
  std::vector<ports::PowerCall> performed;  // the calls answered Yes, when answered

 private:
  struct PendingAnswer {
    std::unique_ptr<ports::Timer> timer;
    bool delivered = false;
  };

  void Answer(ports::PowerAnswer answer, ports::PowerReply reply, std::function<void()> onYes);
  void DropDelivered();

  ports::Timers& timers_;
  std::function<void(bool)> onSleep_;
  std::vector<std::unique_ptr<PendingAnswer>> pending_;
};

}  // namespace pelorin::sim
