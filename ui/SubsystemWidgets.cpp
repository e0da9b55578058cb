#include "ui/SubsystemWidgets.h"

#include "ui/alarms/AlarmsWidgets.h"
#include "ui/organizer/OrganizerWidgets.h"
#include "ui/prefs/PrefsWidgets.h"

namespace pelorin::ui {

namespace {

using Factory = std::unique_ptr<SubsystemWidgets> (*)(Suite&);

// One line per subsystem; a factory gives nothing when its subsystem is not there.
constexpr Factory kFactories[] = {
    &MakePrefsWidgets,
    &MakeAlarmsWidgets,
    &MakeOrganizerWidgets,
};

}  // namespace

std::vector<std::unique_ptr<SubsystemWidgets>> MakeSubsystemWidgets(Suite& suite) {
  std::vector<std::unique_ptr<SubsystemWidgets>> made;
  for (const Factory factory : kFactories) {
    if (std::unique_ptr<SubsystemWidgets> widgets = factory(suite))
      made.push_back(std::move(widgets));
  }
  return made;
}

}  // namespace pelorin::ui
