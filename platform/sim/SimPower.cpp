#include "sim/SimPower.h"

#include <algorithm>
#include <utility>

namespace pelorin::sim {

using ports::PowerAnswer;
using ports::PowerCall;

namespace {

PowerAnswer AnswerFor(const std::map<PowerCall, PowerAnswer>& answers, PowerCall call) {
  const auto found = answers.find(call);
  return found == answers.end() ? PowerAnswer::Yes : found->second;
}

}  // namespace

SimPower::~SimPower() = default;

void SimPower::Allowed(PowerCall call, ports::PowerReply reply) {
  Answer(AnswerFor(allowedAnswers, call), std::move(reply), {});
}

void SimPower::Perform(PowerCall call, ports::PowerReply reply) {
  requested.push_back(call);
  Answer(AnswerFor(performAnswers, call), std::move(reply),
         [this, call] { performed.push_back(call); });
}

void SimPower::Refuse(PowerCall call) {
  allowedAnswers[call] = PowerAnswer::No;
  performAnswers[call] = PowerAnswer::No;
}

std::size_t SimPower::PendingAnswers() const {
  return static_cast<std::size_t>(
      std::count_if(pending_.begin(), pending_.end(), [](const auto& p) { return !p->delivered; }));
}

void SimPower::Answer(PowerAnswer answer, ports::PowerReply reply, std::function<void()> onYes) {
  DropDelivered();
  const int delay = answer == PowerAnswer::NoAnswer ? noAnswerAfterMs : answerDelayMs;
  auto pending = std::make_unique<PendingAnswer>();
  PendingAnswer* entry = pending.get();
  // A one-shot answer: the timer stops itself, and it is dropped at a later request once
  // its reply has returned, never while its own handler runs.
  entry->timer =
      timers_.Create("SimPower answer", std::max(1, delay),
                     [entry, answer, reply = std::move(reply), onYes = std::move(onYes)] {
                       entry->timer->SetEnabled(false);
                       if (answer == PowerAnswer::Yes && onYes) onYes();
                       if (reply) reply(answer);
                       entry->delivered = true;
                     });
  entry->timer->SetEnabled(true);
  pending_.push_back(std::move(pending));
}

void SimPower::DropDelivered() {
  std::erase_if(pending_, [](const auto& p) { return p->delivered; });
}

void SimPower::InjectSuspend() {
  if (onSleep_) onSleep_(true);
}

void SimPower::InjectResume() {
  if (onSleep_) onSleep_(false);
}

}  // namespace pelorin::sim
