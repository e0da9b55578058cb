#pragma once

#include <memory>
#include <vector>

namespace pelorin {
class Suite;
}

namespace pelorin::ui {

// The widgets of one applet subsystem's windows, each made when its window is first
// shown.
class SubsystemWidgets {
 public:
  virtual ~SubsystemWidgets() = default;
  // The process ends: every window of the subsystem goes off the screen.
  virtual void HideAll() = 0;
};

// The widgets of every subsystem the suite has, in the order of the factory list.
std::vector<std::unique_ptr<SubsystemWidgets>> MakeSubsystemWidgets(Suite& suite);

}  // namespace pelorin::ui
