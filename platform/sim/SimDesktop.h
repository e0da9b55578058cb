#pragma once

#include <optional>
#include <string>

#include "ports/Desktop.h"

namespace pelorin::sim {

// A desktop with fixed facts; records the autostart entry and the priority.
class SimDesktop : public ports::Desktop {
 public:
  std::string LogonUserName() const override { return logonUserName; }
  bool AutostartPlaceExists() const override { return autostartPlaceExists; }
  bool AutostartExists() const override { return autostartExists; }
  bool WriteAutostart() override;
  bool SetPriority(ports::ProcessPriority priority) override;

  std::string logonUserName = "user";
  bool autostartPlaceExists = true;
  bool autostartExists = false;
  bool refuseAutostart = false;  // as an uninstalled build does
  int autostartWrites = 0;
  bool refusePriority = false;
  std::optional<ports::ProcessPriority> priority;
};

}  // namespace pelorin::sim
