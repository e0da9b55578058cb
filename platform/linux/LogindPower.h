#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

#include "ports/Log.h"
#include "ports/Power.h"

class QDBusMessage;

namespace pelorin::lnx {

// The computer's power and the user's session through systemd-logind
// (org.freedesktop.login1 on the given bus, normally the system bus).
//
// Allowed asks CanPowerOff, CanReboot, CanSuspend or CanHibernate ("yes" and
// "challenge", where the system asks the user to authenticate, count as allowed); for
// LogOff it looks for the user's own session. Perform asks for PowerOff, Reboot,
// Suspend or Hibernate (interactive: the system may ask the user to authenticate
// first, and answers once the user did) or terminates the own session.
//
// Every call to logind is asynchronous: nothing here waits, the reply comes from the
// event loop. A question that logind leaves unanswered for `questionMs` (each step of
// the session lookup alike), or an action unanswered for `actionMs`, is answered
// NoAnswer; an error from logind is No.
//
// Sleep: the PrepareForSleep signal reaches the handler, true before the computer
// sleeps and false after it woke up. While a handler is set, a "delay" inhibitor lock
// on sleep makes the system wait (up to its own limit) until the handler has run; the
// lock is given back after the handler's suspend handling and taken again on waking.
// Without the lock (the system refused it) the handler still runs, only possibly late.
//
// Without a connection to the bus every question and call is answered No (from the
// event loop, as always) and no sleep is reported. Replies still on their way when the
// object goes are dropped.
//
// What logind refuses (an error reply to an action, a question or the sleep lock) is
// one line of the log, source "logind", with the D-Bus error's name and text; a
// missing bus is one line when the object is made.
class LogindPower : public QObject, public ports::Power {
  Q_OBJECT

 public:
  struct Limits {
    int questionMs = 1500;
    // Long enough for the user to answer the system's authentication question.
    int actionMs = 25000;
  };

  LogindPower(QDBusConnection bus, ports::Log& log, QObject* parent = nullptr);
  LogindPower(QDBusConnection bus, ports::Log& log, Limits limits, QObject* parent = nullptr);
  ~LogindPower() override;

  void Allowed(ports::PowerCall call, ports::PowerReply reply) override;
  void Perform(ports::PowerCall call, ports::PowerReply reply) override;
  void SetOnSleep(std::function<void(bool suspending)> handler) override;

  // Whether the sleep inhibitor lock is held now.
  bool HoldsSleepLock() const { return lockFd_ >= 0; }

 private Q_SLOTS:
  void OnPrepareForSleep(bool start);

 private:
  // The own session's id, or an empty one with the answer that explains why.
  using SessionReply = std::function<void(ports::PowerAnswer, const QString& sessionId)>;

  QDBusMessage ManagerCall(const QString& method) const;
  // Sends `request` and hands its reply (or the error standing for none) to `then`,
  // from the event loop.
  void Send(const QDBusMessage& request, int timeoutMs,
            std::function<void(const QDBusMessage&)> then);
  // The user's own session: XDG_SESSION_ID when logind knows it, else the session of
  // this process.
  void FindOwnSession(SessionReply then);
  void FindSessionOfProcess(SessionReply then);
  void NoteRefusal(const QDBusMessage& request, const QDBusMessage& reply);
  void TakeSleepLock();
  void ReleaseSleepLock();

  QDBusConnection bus_;
  ports::Log& log_;
  Limits limits_;
  std::function<void(bool)> onSleep_;
  int lockFd_ = -1;
  bool lockRequested_ = false;  // an Inhibit call is on its way
  bool sleeping_ = false;
};

}  // namespace pelorin::lnx
