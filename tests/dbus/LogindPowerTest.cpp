#include "dbus/EventLoopWait.h"
#include "linux/LogindPower.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <QVariantList>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::lnx {
namespace {

using ports::PowerCall;

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");

using testing::WaitUntil;

bool LogindOnBus() {
  return QDBusConnection::sessionBus().interface()->isServiceRegistered(kService).value();
}

// An inhibitor lock as logind lists it.
struct Inhibitor {
  QString what, who, why, mode;
};

// python-dbusmock's logind template on the session bus, as a child process; `parameters`
// is the template's JSON (the Can* answers).
class LogindMock {
 public:
  explicit LogindMock(const QString& parameters = QStringLiteral("{}")) {
    process_.setProgram(QStringLiteral(PELORIN_TEST_PYTHON));
    process_.setArguments(
        {"-m", "dbusmock", "--session", "--template", "logind", "--parameters", parameters});
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    started_ = WaitUntil(LogindOnBus);
  }
  ~LogindMock() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    // The next mock must not meet this one's name.
    WaitUntil([] { return !LogindOnBus(); });
  }

  bool Started() const { return started_; }

  QDBusMessage Call(const QString& interface, const QString& method,
                    const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message);
  }
  void AddMethod(const QString& name, const QString& in, const QString& out, const QString& code) {
    ASSERT_NE(Call(kMock, "AddMethod", {kManager, name, in, out, code}).type(),
              QDBusMessage::ErrorMessage);
  }

  // The calls of logind's methods, as "Method firstArgument", except those in `skip`.
  QStringList Calls(const QStringList& skip = {}) {
    QStringList calls;
    const QDBusMessage reply = Call(kMock, "GetCalls");
    if (reply.arguments().isEmpty()) return calls;
    const QDBusArgument list = reply.arguments().front().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
      quint64 time = 0;
      QString method;
      QVariantList arguments;
      list.beginStructure();
      list >> time >> method >> arguments;
      list.endStructure();
      if (skip.contains(method)) continue;
      if (!arguments.isEmpty()) method += ' ' + arguments.front().toString();
      calls.push_back(method);
    }
    list.endArray();
    return calls;
  }

  std::vector<Inhibitor> Inhibitors() {
    std::vector<Inhibitor> inhibitors;
    const QDBusMessage reply = Call(kManager, "ListInhibitors");
    if (reply.arguments().isEmpty()) return inhibitors;
    const QDBusArgument list = reply.arguments().front().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
      Inhibitor inhibitor;
      quint32 uid = 0, pid = 0;
      list.beginStructure();
      list >> inhibitor.what >> inhibitor.who >> inhibitor.why >> inhibitor.mode >> uid >> pid;
      list.endStructure();
      inhibitors.push_back(inhibitor);
    }
    list.endArray();
    return inhibitors;
  }

  void EmitPrepareForSleep(bool start) {
    Call(kMock, "EmitSignal",
         {kManager, QStringLiteral("PrepareForSleep"), QStringLiteral("b"),
          QVariant::fromValue(QVariantList{start})});
  }

 private:
  QProcess process_;
  bool started_ = false;
};

// Sets XDG_SESSION_ID (or removes it) for one test and puts the old value back.
class SessionIdVariable {
 public:
  explicit SessionIdVariable(const char* value) {
    if (const char* old = std::getenv("XDG_SESSION_ID")) old_ = old;
    if (value != nullptr) {
      ::setenv("XDG_SESSION_ID", value, 1);
    } else {
      ::unsetenv("XDG_SESSION_ID");
    }
  }
  ~SessionIdVariable() {
    if (old_) {
      ::setenv("XDG_SESSION_ID", old_->c_str(), 1);
    } else {
      ::unsetenv("XDG_SESSION_ID");
    }
  }

 private:
  std::optional<std::string> old_;
};

constexpr PowerCall kMachineCalls[] = {PowerCall::PowerOff, PowerCall::Reboot, PowerCall::Suspend,
                                       PowerCall::Hibernate};

TEST(LogindPowerTest, CanAnswersDecideWhatIsAllowed) {
  LogindMock mock(
      QStringLiteral(R"({"CanPowerOff": "no", "CanReboot": "challenge", "CanSuspend": "na",)"
                     R"( "CanHibernate": "yes"})"));
  ASSERT_TRUE(mock.Started());
  LogindPower power(QDBusConnection::sessionBus());
  EXPECT_FALSE(power.Allowed(PowerCall::PowerOff));
  EXPECT_TRUE(power.Allowed(PowerCall::Reboot));
  EXPECT_FALSE(power.Allowed(PowerCall::Suspend));
  EXPECT_TRUE(power.Allowed(PowerCall::Hibernate));
}

TEST(LogindPowerTest, ActionsReachLogindAndItsRefusalComesBack) {
  SessionIdVariable session("c7");
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  LogindPower power(QDBusConnection::sessionBus());
  for (const PowerCall call : kMachineCalls)
    EXPECT_TRUE(power.Allowed(call));
  EXPECT_TRUE(power.Allowed(PowerCall::LogOff));
  for (const PowerCall call : kMachineCalls)
    EXPECT_TRUE(power.Perform(call));
  EXPECT_TRUE(power.Perform(PowerCall::LogOff));
  const QStringList questions = {"CanPowerOff", "CanReboot", "CanSuspend", "CanHibernate",
                                 "GetSession"};
  EXPECT_EQ(mock.Calls(questions), (QStringList{"PowerOff true", "Reboot true", "Suspend true",
                                                "Hibernate true", "TerminateSession c7"}));

  mock.AddMethod("Suspend", "b", "",
                 "raise dbus.exceptions.DBusException('not now', "
                 "name='org.freedesktop.DBus.Error.AccessDenied')");
  EXPECT_FALSE(power.Perform(PowerCall::Suspend));
  EXPECT_TRUE(power.Perform(PowerCall::Hibernate));
}

TEST(LogindPowerTest, LogOffTerminatesTheSessionOfTheProcess) {
  SessionIdVariable session(nullptr);
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  LogindPower power(QDBusConnection::sessionBus());
  // The template knows no session of this process.
  EXPECT_FALSE(power.Allowed(PowerCall::LogOff));
  EXPECT_FALSE(power.Perform(PowerCall::LogOff));

  ASSERT_NE(mock.Call(kMock, "AddSession", {"c2", "seat0", 1000u, "owner", true}).type(),
            QDBusMessage::ErrorMessage);
  mock.AddMethod("GetSessionByPID", "u", "o", "ret = '/org/freedesktop/login1/session/c2'");
  mock.Call(kMock, "ClearCalls");
  EXPECT_TRUE(power.Allowed(PowerCall::LogOff));
  EXPECT_TRUE(power.Perform(PowerCall::LogOff));
  const QString byPid = "GetSessionByPID " + QString::number(::getpid());
  EXPECT_EQ(mock.Calls(), (QStringList{byPid, byPid, "TerminateSession c2"}));
}

TEST(LogindPowerTest, SleepRunsTheHandlerWhileTheSystemWaitsForIt) {
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  LogindPower power(QDBusConnection::sessionBus());
  struct Seen {
    bool suspending;
    std::size_t locks;  // inhibitor locks held while the handler ran
  };
  std::vector<Seen> seen;
  power.SetOnSleep([&](bool suspending) {
    seen.push_back({suspending, mock.Inhibitors().size()});
  });

  ASSERT_TRUE(WaitUntil([&] { return mock.Inhibitors().size() == 1; }));
  const Inhibitor lock = mock.Inhibitors().front();
  EXPECT_EQ(lock.what, "sleep");
  EXPECT_EQ(lock.who, "Pelorin");
  EXPECT_EQ(lock.mode, "delay");
  EXPECT_FALSE(lock.why.isEmpty());
  ASSERT_TRUE(WaitUntil([&] { return power.HoldsSleepLock(); }));

  mock.EmitPrepareForSleep(true);
  ASSERT_TRUE(WaitUntil([&] { return seen.size() == 1; }));
  EXPECT_TRUE(seen[0].suspending);
  EXPECT_EQ(seen[0].locks, 1u);
  // Given back once the suite is ready, so that the computer can sleep.
  EXPECT_TRUE(WaitUntil([&] { return mock.Inhibitors().empty(); }));

  mock.EmitPrepareForSleep(false);
  ASSERT_TRUE(WaitUntil([&] { return seen.size() == 2; }));
  EXPECT_FALSE(seen[1].suspending);
  // Taken again for the next sleep.
  EXPECT_TRUE(WaitUntil([&] { return mock.Inhibitors().size() == 1; }));

  power.SetOnSleep(nullptr);
  EXPECT_TRUE(WaitUntil([&] { return mock.Inhibitors().empty(); }));
  // Without a handler the signals go unheard; a second listener shows they came.
  LogindPower witness(QDBusConnection::sessionBus());
  int witnessed = 0;
  witness.SetOnSleep([&](bool) { ++witnessed; });
  mock.EmitPrepareForSleep(true);
  mock.EmitPrepareForSleep(false);
  ASSERT_TRUE(WaitUntil([&] { return witnessed == 2; }));
  EXPECT_EQ(seen.size(), 2u);
}

TEST(LogindPowerTest, WithoutLogindOrWithoutABusNothingIsAllowedOrDone) {
  ASSERT_FALSE(LogindOnBus());
  QDBusConnection noBus = QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/pelorin-test-bus"), QStringLiteral("pelorin-no-bus"));
  ASSERT_FALSE(noBus.isConnected());
  for (const QDBusConnection& bus : {QDBusConnection::sessionBus(), noBus}) {
    SCOPED_TRACE(bus.isConnected() ? "bus without logind" : "no bus");
    LogindPower power(bus);
    bool called = false;
    power.SetOnSleep([&](bool) { called = true; });
    for (const PowerCall call : kMachineCalls) {
      EXPECT_FALSE(power.Allowed(call));
      EXPECT_FALSE(power.Perform(call));
    }
    EXPECT_FALSE(power.Allowed(PowerCall::LogOff));
    EXPECT_FALSE(power.Perform(PowerCall::LogOff));
    EXPECT_FALSE(power.HoldsSleepLock());
    EXPECT_FALSE(called);
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("pelorin-no-bus"));
}

}  // namespace
}  // namespace pelorin::lnx
