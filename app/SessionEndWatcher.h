#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace pelorin::app {

class SuiteApplication;

// The desktop session ending, in each of the ways a Linux desktop ends a program:
// - a logout through the session manager (XSMP): Qt's commitDataRequest asks whether
//   the session may end (`queryEnd`; a false answer cancels the logout where the
//   session manager lets the program interact), and the quit that follows it;
// - SIGTERM and SIGHUP (a shutdown, a session without XSMP, a closed terminal), and
//   SIGINT (Ctrl+C in the terminal the suite was started from).
// The quit and the signals become one call of `onEnd` on the user-interface thread.
// The session manager is told never to restart the suite in a saved session: the
// autostart entry starts it at the next login.
class SessionEndWatcher : public QObject {
  Q_OBJECT
 public:
  SessionEndWatcher(SuiteApplication& application, std::function<bool()> queryEnd,
                    std::function<void()> onEnd);
  ~SessionEndWatcher() override;

 private:
  SuiteApplication& application_;
  std::function<void()> onEnd_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace pelorin::app
