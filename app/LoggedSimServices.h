#pragma once

#include "sim/SimDesktop.h"
#include "sim/SimPower.h"
#include "sim/SimShell.h"

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

}  // namespace pelorin::app
