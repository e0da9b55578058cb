#pragma once

#include <vector>

#include "ports/Companion.h"

namespace pelorin::sim {

// The companion watchdog as a record: started or not, and the messages it got. Its
// window appears when it is started unless a test holds it back.
class SimCompanion : public ports::Companion {
 public:
  using Message = ports::CompanionMessage;

  bool WindowExists() override { return windowExists; }
  void Post(const Message& message) override;
  bool ProgramExists() const override { return programExists; }
  bool Start() override;

  bool windowExists = false;
  bool programExists = true;
  bool windowAppearsOnStart = true;
  int starts = 0;
  std::vector<Message> posted;
};

}  // namespace pelorin::sim
