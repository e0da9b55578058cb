#pragma once

#include <memory>

#include "core/AppletSubsystem.h"
#include "organizer/OrganizerSchedule.h"
#include "organizer/TF_Shed.h"
#include "organizer/TF_ShedShow.h"
#include "organizer/TF_Welcome.h"
#include "ports/Notification.h"

namespace pelorin {

class RingService;

// The organizer: dated and timed messages (TF_Shed), their schedule and check, the
// message pop-up (TF_ShedShow) and the welcome window (TF_Welcome). It rings through the
// alarms' ring service.
class OrganizerSubsystem : public AppletSubsystem {
 public:
  OrganizerSubsystem(SubsystemServices& services, RingService& ring);

  SubsystemId Id() const override { return SubsystemId::Organizer; }

  OrganizerSchedule& Schedule() { return schedule_; }
  TF_Shed& Organizer() { return shed_; }
  TF_ShedShow& PopUp() { return popUp_; }
  TF_Welcome& Welcome() { return welcome_; }

 private:
  OrganizerSchedule::Windows ScheduleWindows();
  void BindSteps(CoreContext& ctx);

  CoreContext& ctx_;
  OrganizerSchedule schedule_;
  TF_ShedShow popUp_;
  TF_Welcome welcome_;
  TF_Shed shed_;
  ports::Subscription stopAtEnd_;
};

// Nothing without the alarms subsystem, whose ring service the organizer rings through.
std::unique_ptr<AppletSubsystem> MakeOrganizerSubsystem(SubsystemServices& services);

}  // namespace pelorin
