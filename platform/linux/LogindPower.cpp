#include "linux/LogindPower.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QTimer>
#include <QtGlobal>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace pelorin::lnx {
namespace {

using ports::PowerAnswer;
using ports::PowerCall;

// The Inhibit call for the sleep lock gets this long.
constexpr int kLockRequestMs = 1500;

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

QString CanMethod(PowerCall call) {
  switch (call) {
    case PowerCall::PowerOff:
      return QStringLiteral("CanPowerOff");
    case PowerCall::Reboot:
      return QStringLiteral("CanReboot");
    case PowerCall::Suspend:
      return QStringLiteral("CanSuspend");
    case PowerCall::Hibernate:
      return QStringLiteral("CanHibernate");
    case PowerCall::LogOff:
      break;
  }
  return {};
}

QString ActionMethod(PowerCall call) {
  switch (call) {
    case PowerCall::PowerOff:
      return QStringLiteral("PowerOff");
    case PowerCall::Reboot:
      return QStringLiteral("Reboot");
    case PowerCall::Suspend:
      return QStringLiteral("Suspend");
    case PowerCall::Hibernate:
      return QStringLiteral("Hibernate");
    case PowerCall::LogOff:
      break;
  }
  return {};
}

bool Answered(const QDBusMessage& reply) {
  return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

// What a reply that carries no wanted value means: a call that timed out (or whose
// receiver went away without replying) got no answer; any other error is a refusal.
PowerAnswer Unanswered(const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ErrorMessage) return PowerAnswer::No;
  const QDBusError::ErrorType error = QDBusError(reply).type();
  return error == QDBusError::NoReply || error == QDBusError::Timeout ? PowerAnswer::NoAnswer
                                                                      : PowerAnswer::No;
}

}  // namespace

LogindPower::LogindPower(QDBusConnection bus, ports::Log& log, QObject* parent)
    : LogindPower(std::move(bus), log, Limits{}, parent) {}

LogindPower::LogindPower(QDBusConnection bus, ports::Log& log, Limits limits, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), log_(log), limits_(limits) {
  if (!bus_.isConnected()) {
    log_.Write("logind", "no connection to the bus: " + bus_.lastError().name().toStdString() +
                             ": " + bus_.lastError().message().toStdString());
    return;
  }
  bus_.connect(kService, kManagerPath, kManager, QStringLiteral("PrepareForSleep"), this,
               SLOT(OnPrepareForSleep(bool)));
}

LogindPower::~LogindPower() {
  ReleaseSleepLock();
}

QDBusMessage LogindPower::ManagerCall(const QString& method) const {
  return QDBusMessage::createMethodCall(kService, kManagerPath, kManager, method);
}

void LogindPower::Send(const QDBusMessage& request, int timeoutMs,
                       std::function<void(const QDBusMessage&)> then) {
  if (!bus_.isConnected()) {
    QTimer::singleShot(0, this, [then = std::move(then)] {
      then(QDBusMessage::createError(QDBusError::Disconnected,
                                     QStringLiteral("Not connected to the bus")));
    });
    return;
  }
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(request, timeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, request, then = std::move(then)](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            NoteRefusal(request, finished->reply());
            then(finished->reply());
          });
}

void LogindPower::NoteRefusal(const QDBusMessage& request, const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ErrorMessage) return;
  log_.Write("logind", request.member().toStdString() + " answered " +
                           reply.errorName().toStdString() + ": " +
                           reply.errorMessage().toStdString());
}

void LogindPower::Allowed(PowerCall call, ports::PowerReply reply) {
  if (call == PowerCall::LogOff) {
    FindOwnSession(
        [reply = std::move(reply)](PowerAnswer answer, const QString&) { reply(answer); });
    return;
  }
  Send(ManagerCall(CanMethod(call)), limits_.questionMs,
       [reply = std::move(reply)](const QDBusMessage& message) {
         if (!Answered(message)) {
           reply(Unanswered(message));
           return;
         }
         const QString answer = message.arguments().front().toString();
         reply(answer == QLatin1String("yes") || answer == QLatin1String("challenge")
                   ? PowerAnswer::Yes
                   : PowerAnswer::No);
       });
}

void LogindPower::Perform(PowerCall call, ports::PowerReply reply) {
  auto outcome = [reply](const QDBusMessage& message) {
    reply(message.type() == QDBusMessage::ReplyMessage ? PowerAnswer::Yes : Unanswered(message));
  };
  if (call == PowerCall::LogOff) {
    FindOwnSession([this, reply, outcome](PowerAnswer found, const QString& session) {
      if (found != PowerAnswer::Yes) {
        reply(found);
        return;
      }
      QDBusMessage terminate = ManagerCall(QStringLiteral("TerminateSession"));
      terminate << session;
      Send(terminate, limits_.actionMs, outcome);
    });
    return;
  }
  QDBusMessage request = ManagerCall(ActionMethod(call));
  request << true;  // interactive: the system may ask the user to authenticate
  Send(request, limits_.actionMs, outcome);
}

void LogindPower::FindOwnSession(SessionReply then) {
  const QString fromEnvironment = qEnvironmentVariable("XDG_SESSION_ID");
  if (fromEnvironment.isEmpty()) {
    FindSessionOfProcess(std::move(then));
    return;
  }
  QDBusMessage request = ManagerCall(QStringLiteral("GetSession"));
  request << fromEnvironment;
  Send(request, limits_.questionMs,
       [this, fromEnvironment, then = std::move(then)](const QDBusMessage& reply) {
         if (Answered(reply)) {
           then(PowerAnswer::Yes, fromEnvironment);
         } else if (Unanswered(reply) == PowerAnswer::NoAnswer) {
           then(PowerAnswer::NoAnswer, {});  // asking again would only wait again
         } else {
           // logind does not know the session named in the environment.
           FindSessionOfProcess(then);
         }
       });
}

void LogindPower::FindSessionOfProcess(SessionReply then) {
  QDBusMessage byPid = ManagerCall(QStringLiteral("GetSessionByPID"));
  byPid << static_cast<quint32>(::getpid());
  Send(byPid, limits_.questionMs, [this, then = std::move(then)](const QDBusMessage& reply) {
    const QString path =
        Answered(reply) ? reply.arguments().front().value<QDBusObjectPath>().path() : QString();
    if (path.isEmpty()) {
      then(Unanswered(reply), {});
      return;
    }
    QDBusMessage get =
        QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("Get"));
    get << kSession << QStringLiteral("Id");
    Send(get, limits_.questionMs, [then](const QDBusMessage& idReply) {
      const QString id =
          Answered(idReply) ? idReply.arguments().front().value<QDBusVariant>().variant().toString()
                            : QString();
      if (id.isEmpty()) {
        then(Unanswered(idReply), {});
      } else {
        then(PowerAnswer::Yes, id);
      }
    });
  });
}

void LogindPower::SetOnSleep(std::function<void(bool)> handler) {
  onSleep_ = std::move(handler);
  if (onSleep_) {
    TakeSleepLock();
  } else {
    ReleaseSleepLock();
  }
}

void LogindPower::OnPrepareForSleep(bool start) {
  sleeping_ = start;
  // A copy: the handler may replace itself.
  if (const std::function<void(bool)> handler = onSleep_) handler(start);
  // The suite is ready for the sleep: the system need not wait for it any longer.
  if (start) {
    ReleaseSleepLock();
  } else {
    TakeSleepLock();
  }
}

void LogindPower::TakeSleepLock() {
  if (!bus_.isConnected() || !onSleep_ || sleeping_ || lockFd_ >= 0 || lockRequested_) return;
  if (!(bus_.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing)) return;
  QDBusMessage request = ManagerCall(QStringLiteral("Inhibit"));
  request << QStringLiteral("sleep") << QStringLiteral("Pelorin")
          << QStringLiteral("Pauses the suite's timers before sleep") << QStringLiteral("delay");
  lockRequested_ = true;
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(request, kLockRequestMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, request](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            lockRequested_ = false;
            const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
            // Refused: the suite goes on without the lock.
            NoteRefusal(request, reply.reply());
            if (reply.isError() || !reply.value().isValid()) return;
            const int fd = ::fcntl(reply.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0);
            if (fd < 0) {
              log_.Write("logind",
                         std::string("the sleep lock cannot be kept: ") + std::strerror(errno));
              return;
            }
            // The computer began to sleep, or the handler went, while the lock was on its way.
            if (!onSleep_ || sleeping_) {
              ::close(fd);
              return;
            }
            lockFd_ = fd;
          });
}

void LogindPower::ReleaseSleepLock() {
  if (lockFd_ < 0) return;
  ::close(lockFd_);
  lockFd_ = -1;
}

}  // namespace pelorin::lnx
