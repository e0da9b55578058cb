#pragma once

#include <optional>
#include <string>

#include "ports/Desktop.h"

namespace pelorin::sim {

// A desktop with fixed facts; records the autostart entry and the priority. The memory
// figures are those of a machine with 8 GiB of memory, half of it in use, until a test
// sets others.
class SimDesktop : public ports::Desktop {
 public:
  std::string LogonUserName() const override { return logonUserName; }
  bool AutostartExists() const override { return autostartExists; }
  bool WriteAutostart() override;
  bool SetPriority(ports::ProcessPriority priority) override;
  ports::MemoryStatus GlobalMemoryStatus() const override { return memory; }

  std::string logonUserName = "user";
  bool autostartExists = false;
  bool refuseAutostart = false;  // as an uninstalled build does
  int autostartWrites = 0;
  bool refusePriority = false;
  std::optional<ports::ProcessPriority> priority;
  ports::MemoryStatus memory{8ull << 30,  4ull << 30, 2ull << 30, 2ull << 30,
                             10ull << 30, 6ull << 30, 50};
};

}  // namespace pelorin::sim
