#pragma once

#include <memory>

#include "alarms/ReminderDueCheck.h"
#include "alarms/RingService.h"
#include "alarms/TF_Clock.h"
#include "alarms/TF_Time.h"
#include "core/AppletSubsystem.h"

namespace pelorin {

// Alarms and clock: the ring service that the whole suite rings through, the
// reminder's alarms with their due check and hourly chime (TF_Clock), and Duzuzoze's
// clock, stopwatch and countdowns (TF_Time).
class AlarmsSubsystem : public AppletSubsystem {
 public:
  explicit AlarmsSubsystem(SubsystemServices& services);

  SubsystemId Id() const override { return SubsystemId::Alarms; }

  RingService& Ring() { return ring_; }
  ReminderDueCheck& DueCheck() { return dueCheck_; }
  TF_Clock& Reminder() { return reminder_; }
  TF_Time& Duzuzoze() { return duzuzoze_; }

 private:
  void BindSteps(CoreContext& ctx);

  RingService ring_;
  ReminderDueCheck dueCheck_;
  TF_Clock reminder_;
  TF_Time duzuzoze_;
  ports::Subscription stopAtEnd_;
};

std::unique_ptr<AppletSubsystem> MakeAlarmsSubsystem(SubsystemServices& services);

}  // namespace pelorin
