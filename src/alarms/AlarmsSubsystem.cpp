#include "alarms/AlarmsSubsystem.h"

#include "core/CoreContext.h"
#include "core/CoreHotkeys.h"
#include "core/MenuItemIds.h"

namespace pelorin {

AlarmsSubsystem::AlarmsSubsystem(SubsystemServices& services)
    : ring_(services.core, services.hotkeys),
      dueCheck_(services.core, ring_),
      reminder_(services.core, ring_),
      duzuzoze_(services.core, ring_) {
  CoreContext& ctx = services.core;
  constexpr SubsystemId alarms = SubsystemId::Alarms;
  ctx.commands.Bind(menu_item::kClock, alarms, [this] { reminder_.FormShow(); });
  ctx.commands.Bind(menu_item::kTime, alarms, [this] { duzuzoze_.FormShow(); });
  services.hotkeys.BindPress(HotkeySource::kReminder, alarms,
                             [this](const THotkey&) { ring_.StopRing(); });
  ctx.places.AddTaskbarWindow([this] { return reminder_.Visible(); });
  ctx.places.AddTaskbarWindow([this] { return duzuzoze_.Visible(); });
  BindSteps(ctx);
  stopAtEnd_ = ctx.lifetime.stopTimers.Subscribe([this] {
    dueCheck_.Stop();
    ring_.StopRing();
    reminder_.StopTimers();
    duzuzoze_.StopTimers();
  });
}

void AlarmsSubsystem::BindSteps(CoreContext& ctx) {
  constexpr SubsystemId alarms = SubsystemId::Alarms;
  auto stopRing = [this] { ring_.StopRing(); };
  SuiteSteps& steps = ctx.steps;
  steps.loadProfile.Bind(LoadStep::kStopReminderTimer, alarms, [this] { dueCheck_.Stop(); });
  steps.loadProfile.Bind(LoadStep::kStopRing, alarms, stopRing);
  steps.loadProfile.Bind(LoadStep::kReadDuzuzozeSettings, alarms,
                         [this] { duzuzoze_.ReadSettings(); });
  steps.loadProfile.Bind(LoadStep::kStartReminder, alarms, [this] {
    dueCheck_.ForgetRings();
    dueCheck_.Start();
  });
  steps.prepareShutdown.Bind(ShutdownStep::kStopRing, alarms, stopRing);
  steps.refusedClose.Bind(RefusedCloseStep::kStopRing, alarms, stopRing);
  steps.closeAllWindows.Bind(CloseWindowStep::kTime, alarms, [this] {
    if (duzuzoze_.Visible()) duzuzoze_.FormClose();
  });
  steps.closeAllWindows.Bind(CloseWindowStep::kClock, alarms, [this] {
    if (reminder_.Visible()) reminder_.FormClose();
  });
  steps.suspend.Bind(SuspendStep::kStopReminderTimer, alarms, [this] { dueCheck_.Stop(); });
  steps.suspend.Bind(SuspendStep::kSilenceRing, alarms, stopRing);
  steps.resume.Bind(ResumeStep::kStartReminderTimer, alarms, [this] { dueCheck_.Start(); });
  steps.trayLeftClick.Bind(TrayClickStep::kStopRing, alarms, stopRing);
}

std::unique_ptr<AppletSubsystem> MakeAlarmsSubsystem(SubsystemServices& services) {
  return std::make_unique<AlarmsSubsystem>(services);
}

}  // namespace pelorin
