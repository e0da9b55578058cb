#include "suite/SubsystemFactories.h"

#include "alarms/AlarmsSubsystem.h"
#include "organizer/OrganizerSubsystem.h"
#include "prefs/PrefsSubsystem.h"

namespace pelorin {

namespace {

using Factory = std::unique_ptr<AppletSubsystem> (*)(SubsystemServices&);

// One line per subsystem. The order is the order in which they are made (their rows of
// the step tables run in the tables' own order, whatever this order is).
constexpr Factory kFactories[] = {
    &MakePrefsSubsystem,
    &MakeAlarmsSubsystem,
    &MakeOrganizerSubsystem,
};

}  // namespace

std::vector<std::unique_ptr<AppletSubsystem>> MakeSubsystems(SubsystemServices& services) {
  std::vector<std::unique_ptr<AppletSubsystem>> made;
  services.madeBefore = &made;
  for (const Factory factory : kFactories) {
    // A factory gives nothing when a subsystem it needs is not there.
    if (std::unique_ptr<AppletSubsystem> subsystem = factory(services))
      made.push_back(std::move(subsystem));
  }
  services.madeBefore = nullptr;
  return made;
}

}  // namespace pelorin
