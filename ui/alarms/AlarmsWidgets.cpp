#include "ui/alarms/AlarmsWidgets.h"

#include "alarms/AlarmsSubsystem.h"
#include "suite/Suite.h"
#include "ui/LazyWidget.h"
#include "ui/alarms/TF_ClockWidget.h"
#include "ui/alarms/TF_TimeWidget.h"

namespace pelorin::ui {

namespace {

class AlarmsWidgets : public SubsystemWidgets {
 public:
  explicit AlarmsWidgets(AlarmsSubsystem& alarms)
      : reminder_(alarms.Reminder()), duzuzoze_(alarms.Duzuzoze()) {}

  void HideAll() override {
    reminder_.Hide();
    duzuzoze_.Hide();
  }

 private:
  LazyWidget<TF_Clock, TF_ClockWidget> reminder_;
  LazyWidget<TF_Time, TF_TimeWidget> duzuzoze_;
};

}  // namespace

std::unique_ptr<SubsystemWidgets> MakeAlarmsWidgets(Suite& suite) {
  AlarmsSubsystem* alarms = suite.Find<AlarmsSubsystem>();
  if (alarms == nullptr) return nullptr;
  return std::make_unique<AlarmsWidgets>(*alarms);
}

}  // namespace pelorin::ui
