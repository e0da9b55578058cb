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
#include <QtGlobal>
#include <utility>

namespace pelorin::lnx {
namespace {

using ports::PowerCall;

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// A question to logind gets this long before it counts as "no".
constexpr int kQuestionTimeoutMs = 1500;
// An action's error that comes back within this time is reported; after it the action
// counts as sent (it may be waiting for the user to authenticate).
constexpr int kActionAnswerMs = 2000;

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

}  // namespace

LogindPower::LogindPower(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
  if (!bus_.isConnected()) return;
  bus_.connect(kService, kManagerPath, kManager, QStringLiteral("PrepareForSleep"), this,
               SLOT(OnPrepareForSleep(bool)));
}

LogindPower::~LogindPower() {
  ReleaseSleepLock();
}

QDBusMessage LogindPower::ManagerCall(const QString& method) const {
  return QDBusMessage::createMethodCall(kService, kManagerPath, kManager, method);
}

bool LogindPower::Allowed(PowerCall call) {
  if (!bus_.isConnected()) return false;
  if (call == PowerCall::LogOff) return !OwnSessionId().isEmpty();
  const QDBusMessage reply =
      bus_.call(ManagerCall(CanMethod(call)), QDBus::Block, kQuestionTimeoutMs);
  if (!Answered(reply)) return false;
  const QString answer = reply.arguments().front().toString();
  return answer == QLatin1String("yes") || answer == QLatin1String("challenge");
}

bool LogindPower::Perform(PowerCall call) {
  if (!bus_.isConnected()) return false;
  QDBusMessage request;
  if (call == PowerCall::LogOff) {
    const QString session = OwnSessionId();
    if (session.isEmpty()) return false;
    request = ManagerCall(QStringLiteral("TerminateSession"));
    request << session;
  } else {
    request = ManagerCall(ActionMethod(call));
    request << true;  // interactive: the system may ask the user to authenticate
  }
  const QDBusMessage reply = bus_.call(request, QDBus::Block, kActionAnswerMs);
  if (reply.type() == QDBusMessage::ReplyMessage) return true;
  const QDBusError::ErrorType error = QDBusError(reply).type();
  return error == QDBusError::NoReply || error == QDBusError::Timeout;
}

QString LogindPower::OwnSessionId() {
  const QString fromEnvironment = qEnvironmentVariable("XDG_SESSION_ID");
  if (!fromEnvironment.isEmpty()) {
    QDBusMessage request = ManagerCall(QStringLiteral("GetSession"));
    request << fromEnvironment;
    if (Answered(bus_.call(request, QDBus::Block, kQuestionTimeoutMs))) return fromEnvironment;
  }
  QDBusMessage byPid = ManagerCall(QStringLiteral("GetSessionByPID"));
  byPid << static_cast<quint32>(::getpid());
  const QDBusMessage reply = bus_.call(byPid, QDBus::Block, kQuestionTimeoutMs);
  if (!Answered(reply)) return {};
  const QString path = reply.arguments().front().value<QDBusObjectPath>().path();
  if (path.isEmpty()) return {};
  QDBusMessage get =
      QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("Get"));
  get << kSession << QStringLiteral("Id");
  const QDBusMessage id = bus_.call(get, QDBus::Block, kQuestionTimeoutMs);
  if (!Answered(id)) return {};
  return id.arguments().front().value<QDBusVariant>().variant().toString();
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
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(request, kQuestionTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    lockRequested_ = false;
    const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
    // Refused: the suite goes on without the lock.
    if (reply.isError() || !reply.value().isValid()) return;
    const int fd = ::fcntl(reply.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return;
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
