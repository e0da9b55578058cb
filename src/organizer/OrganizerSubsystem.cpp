#include "organizer/OrganizerSubsystem.h"

#include "alarms/AlarmsSubsystem.h"
#include "common/Dates.h"
#include "core/CoreContext.h"
#include "core/MenuItemIds.h"

namespace pelorin {

OrganizerSubsystem::OrganizerSubsystem(SubsystemServices& services, RingService& ring)
    : ctx_(services.core),
      schedule_(services.core, ScheduleWindows()),
      popUp_(services.core, ring, schedule_),
      welcome_(services.core, schedule_.Table()),
      shed_(services.core, schedule_, ring, [this](int entry) { popUp_.PopUpEntry(entry); }) {
  CoreContext& ctx = services.core;
  constexpr SubsystemId organizer = SubsystemId::Organizer;
  ctx.commands.Bind(menu_item::kShed, organizer, [this] { shed_.FormShow(); });
  welcome_.showOrganizer = [this] { shed_.FormShow(); };
  ctx.places.AddTaskbarWindow([this] { return shed_.Visible(); });
  BindSteps(ctx);
  stopAtEnd_ = ctx.lifetime.stopTimers.Subscribe([this] {
    schedule_.StopTimer();
    popUp_.FormHide();
    welcome_.FormClose();
  });
}

// The check reaches the windows only through these calls; they run after every part
// exists.
OrganizerSchedule::Windows OrganizerSubsystem::ScheduleWindows() {
  return {
      .popUp = [this](int entry) { popUp_.PopUpEntry(entry); },
      .prepareWelcome = [this] { welcome_.Prepare(); },
      .dayChanged = [this] { shed_.SetTodayDate(DateNowTextUS(ctx_.ports.clock)); },
      .refreshListImages = [this] { shed_.RefreshStateImages(); },
      .listVisible = [this] { return shed_.Visible(); },
  };
}

void OrganizerSubsystem::BindSteps(CoreContext& ctx) {
  constexpr SubsystemId organizer = SubsystemId::Organizer;
  SuiteSteps& steps = ctx.steps;
  auto hidePopUp = [this] {
    if (popUp_.Visible()) popUp_.FormHide();
  };
  steps.loadProfile.Bind(LoadStep::kHideOrganizerPopup, organizer, hidePopUp);
  steps.loadProfile.Bind(LoadStep::kReadOrganizerSettings, organizer,
                         [this] { schedule_.ReadSettings(); });
  steps.loadProfile.Bind(LoadStep::kStartOrganizer, organizer, [this] {
    welcome_.FormClose();  // parked off screen until the check prepares it
    schedule_.ScheduleAll();
  });
  steps.closeAllWindows.Bind(CloseWindowStep::kShed, organizer, [this] {
    if (shed_.Visible()) shed_.FormClose();
  });
  steps.suspend.Bind(SuspendStep::kStopOrganizerTimer, organizer,
                     [this] { schedule_.StopTimer(); });
  steps.suspend.Bind(SuspendStep::kHideOrganizerPopup, organizer, hidePopUp);
  steps.resume.Bind(ResumeStep::kOrganizerRebuild, organizer,
                    [this] { schedule_.RescheduleAfterSleep(); });
  steps.resume.Bind(ResumeStep::kStartOrganizerTimer, organizer,
                    [this] { schedule_.StartTimer(); });
  // While another program is active, the pop-up and the welcome window stay above it.
  steps.deactivated.Bind(DeactivatedStep::kOrganizerPopup, organizer, [this] {
    if (popUp_.Visible()) popUp_.changed();
  });
  steps.deactivated.Bind(DeactivatedStep::kWelcome, organizer, [this] {
    if (welcome_.Visible()) welcome_.changed();
  });
}

std::unique_ptr<AppletSubsystem> MakeOrganizerSubsystem(SubsystemServices& services) {
  // The alarms come first in the factory list; the organizer rings through them.
  auto* alarms = services.MadeBefore<AlarmsSubsystem>();
  if (alarms == nullptr) return nullptr;
  return std::make_unique<OrganizerSubsystem>(services, alarms->Ring());
}

}  // namespace pelorin
