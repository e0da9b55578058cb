#pragma once

#include <QElapsedTimer>
#include <QTimer>

namespace pelorin {
class Suite;
namespace ui {
class QtMainView;
}
}  // namespace pelorin

namespace pelorin::app {

// --measure-startup: waits for the end of the first profile load (profile active, busy
// box closed, tray icon shown as the settings say), prints the milliseconds since the
// program started on one line, and ends the suite in order.
class StartupMeasurement {
 public:
  StartupMeasurement(Suite& suite, ui::QtMainView& view, const QElapsedTimer& sinceStart);

 private:
  void Check();

  Suite& suite_;
  ui::QtMainView& view_;
  const QElapsedTimer& sinceStart_;
  QTimer poll_;
};

}  // namespace pelorin::app
