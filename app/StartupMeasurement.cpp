#include "app/StartupMeasurement.h"

#include <cstdio>

#include "suite/Suite.h"
#include "ui/QtMainView.h"

namespace pelorin::app {

StartupMeasurement::StartupMeasurement(Suite& suite, ui::QtMainView& view,
                                       const QElapsedTimer& sinceStart)
    : suite_(suite), view_(view), sinceStart_(sinceStart) {
  QObject::connect(&poll_, &QTimer::timeout, [this] { Check(); });
  poll_.start(1);
}

void StartupMeasurement::Check() {
  const SharedValues& v = suite_.values();
  if (suite_.main().Ended()) {
    poll_.stop();
    return;
  }
  if (!v.ProfileActive || v.ProfileSwitchPending || view_.BusyBoxShown()) return;
  poll_.stop();
  std::printf("%lld\n", static_cast<long long>(sinceStart_.elapsed()));
  std::fflush(stdout);
  suite_.main().SaveAndQuit();
}

}  // namespace pelorin::app
