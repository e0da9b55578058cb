#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace pelorin::app {

// The desktop session ending: SIGTERM and SIGHUP (what a session manager or a shutdown
// sends) are turned into a call on the user-interface thread.
class SessionEndWatcher : public QObject {
  Q_OBJECT
 public:
  explicit SessionEndWatcher(std::function<void()> onEnd);
  ~SessionEndWatcher() override;

 private:
  std::function<void()> onEnd_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace pelorin::app
