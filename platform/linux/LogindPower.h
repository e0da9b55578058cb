#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

#include "ports/Power.h"

class QDBusMessage;

namespace pelorin::lnx {

// The computer's power and the user's session through systemd-logind
// (org.freedesktop.login1 on the given bus, normally the system bus).
//
// Allowed asks CanPowerOff, CanReboot, CanSuspend or CanHibernate ("yes" and
// "challenge", where the system asks the user to authenticate, count as allowed); for
// LogOff it looks for the user's own session. Perform asks for PowerOff, Reboot,
// Suspend or Hibernate (the system may ask the user to authenticate) or terminates the
// own session. Neither waits long: a question gets 1.5 s; an action reports the error
// that comes back within 2 s and otherwise counts as sent (an action still waiting for
// the user's authentication goes on without us).
//
// Sleep: the PrepareForSleep signal reaches the handler, true before the computer
// sleeps and false after it woke up. While a handler is set, a "delay" inhibitor lock
// on sleep makes the system wait (up to its own limit) until the handler has run; the
// lock is given back after the handler's suspend handling and taken again on waking.
// Without the lock (the system refused it) the handler still runs, only possibly late.
//
// Without a connection to the bus nothing is allowed, nothing performed and no sleep
// is reported; nothing waits.
class LogindPower : public QObject, public ports::Power {
  Q_OBJECT

 public:
  explicit LogindPower(QDBusConnection bus, QObject* parent = nullptr);
  ~LogindPower() override;

  bool Allowed(ports::PowerCall call) override;
  bool Perform(ports::PowerCall call) override;
  void SetOnSleep(std::function<void(bool suspending)> handler) override;

  // Whether the sleep inhibitor lock is held now.
  bool HoldsSleepLock() const { return lockFd_ >= 0; }

 private Q_SLOTS:
  void OnPrepareForSleep(bool start);

 private:
  QDBusMessage ManagerCall(const QString& method) const;
  // The user's own session id: XDG_SESSION_ID when logind knows it, else the session
  // of this process. Empty when none is found.
  QString OwnSessionId();
  void TakeSleepLock();
  void ReleaseSleepLock();

  QDBusConnection bus_;
  std::function<void(bool)> onSleep_;
  int lockFd_ = -1;
  bool lockRequested_ = false;  // an Inhibit call is on its way
  bool sleeping_ = false;
};

}  // namespace pelorin::lnx
