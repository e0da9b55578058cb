#pragma once

#include <QApplication>
#include <functional>

namespace pelorin::app {

// The application object. A request to quit it (the session manager's "die" at the end
// of a logout, QCoreApplication::quit() from anywhere) does not simply leave the event
// loop: it goes to the quit handler, which ends the suite in order and then leaves the
// loop itself. Without a handler, the quit goes on as usual.
class SuiteApplication : public QApplication {
  Q_OBJECT
 public:
  SuiteApplication(int& argc, char** argv);

  void SetQuitHandler(std::function<void()> handler) { quitHandler_ = std::move(handler); }

 protected:
  bool event(QEvent* event) override;

 private:
  std::function<void()> quitHandler_;
};

}  // namespace pelorin::app
