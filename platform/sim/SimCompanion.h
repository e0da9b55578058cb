#pragma once

#include <vector>

#include "ports/Companion.h"

namespace pelorin::sim {

// The companion watchdog as a record: started or not, and the messages it got. Its
// window appears when it is started unless a test holds it back.
class SimCompanion : public ports::Companion {
 public:
  struct Message {
    int message, wParam, lParam;
    friend bool operator==(const Message&, const Message&) = default;
  };

  bool WindowExists() override { return windowExists; }
  void Post(int message, int wParam, int lParam) override;
  bool ProgramExists() const override { return programExists; }
  bool Start() override;

  bool windowExists = false;
  bool programExists = true;
  bool windowAppearsOnStart = true;
  int starts = 0;
  std::vector<Message> posted;
};

}  // namespace pelorin::sim
