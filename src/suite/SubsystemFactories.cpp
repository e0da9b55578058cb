#include "suite/SubsystemFactories.h"

#include "alarms/AlarmsSubsystem.h"
#include "prefs/PrefsSubsystem.h"

namespace pelorin {

namespace {

using Factory = std::unique_ptr<AppletSubsystem> (*)(SubsystemServices&);

// One line per subsystem. The order is the order in which they are made (their rows of
// the step tables run in the tables' own order, whatever this order is).
constexpr Factory kFactories[] = {
    &MakePrefsSubsystem,
    &MakeAlarmsSubsystem,
};

}  // namespace

std::vector<std::unique_ptr<AppletSubsystem>> MakeSubsystems(SubsystemServices& services) {
  std::vector<std::unique_ptr<AppletSubsystem>> made;
  for (const Factory factory : kFactories)
    made.push_back(factory(services));
  return made;
}

}  // namespace pelorin
