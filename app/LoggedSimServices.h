#pragma once

#include <string>

#include "sim/SimDesktop.h"
#include "sim/SimPower.h"
#include "sim/SimShell.h"
#include "sim/SimSound.h"

namespace pelorin::app {

// The sim backend's shell and desktop inside the running program: they do what the
// sims do and say on standard error what a real desktop would have done.
class LoggedSimShell : public sim::SimShell {
 public:
  bool Open(const std::string& file, const std::string& parameters, const std::string& directory,
            ports::ShowMode mode) override;
};

class LoggedSimDesktop : public sim::SimDesktop {
 public:
  bool WriteAutostart() override;
  bool SetPriority(ports::ProcessPriority wanted) override;
};

class LoggedSimPower : public sim::SimPower {
 public:
  using SimPower::SimPower;
  void Perform(ports::PowerCall call, ports::PowerReply reply) override;
};

// The simulated sound card, each thing it is asked to sound told on a line of its own.
class LoggedSimSound : public sim::SimSound {
 public:
  explicit LoggedSimSound(const ports::Clock& clock);
};

// The line the sim program writes for a sound event, without its end of line.
std::string SoundEventLine(const sim::SoundEvent& event);

}  // namespace pelorin::app
