#include "linux/LogindPower.h"

#include <gtest/gtest.h>
#include <signal.h>
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
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/SimLog.h"
#include "support/ProcessEventsUntil.h"

namespace pelorin::lnx {
namespace {

using ports::PowerAnswer;
using ports::PowerCall;

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");

using testing::ProcessEventsUntil;

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
    started_ = ProcessEventsUntil(LogindOnBus);
  }
  ~LogindMock() {
    Thaw();
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    // The next mock must not meet this one's name.
    ProcessEventsUntil([] { return !LogindOnBus(); });
  }

  bool Started() const { return started_; }

  // A logind that takes calls and never answers them, and one that goes on again.
  void Freeze() { frozen_ = ::kill(static_cast<pid_t>(process_.processId()), SIGSTOP) == 0; }
  void Thaw() {
    if (frozen_) ::kill(static_cast<pid_t>(process_.processId()), SIGCONT);
    frozen_ = false;
  }

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
  bool frozen_ = false;
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
constexpr PowerCall kAllCalls[] = {PowerCall::PowerOff, PowerCall::Reboot, PowerCall::Suspend,
                                   PowerCall::Hibernate, PowerCall::LogOff};

// The answer to a question or call, waited for in the event loop; nothing when none came
// within a few seconds. It must not come before the asking call has returned.
std::optional<PowerAnswer> AnswerTo(const std::function<void(ports::PowerReply)>& ask) {
  // Shared: an answer that comes after the wait must not write to a finished frame.
  auto answers = std::make_shared<std::vector<PowerAnswer>>();
  ask([answers](PowerAnswer answer) { answers->push_back(answer); });
  EXPECT_TRUE(answers->empty()) << "answered inside the call";
  if (!ProcessEventsUntil([&] { return !answers->empty(); })) return std::nullopt;
  return answers->front();
}

std::optional<PowerAnswer> Allowed(LogindPower& power, PowerCall call) {
  return AnswerTo([&](ports::PowerReply reply) { power.Allowed(call, std::move(reply)); });
}

std::optional<PowerAnswer> Performed(LogindPower& power, PowerCall call) {
  return AnswerTo([&](ports::PowerReply reply) { power.Perform(call, std::move(reply)); });
}

// Ticks every few milliseconds while it lives: how often the event loop came round, and
// the longest it was held between two ticks.
class Heartbeat {
 public:
  Heartbeat() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      ++ticks_;
      longestGapMs_ = std::max(longestGapMs_, sinceTick_.restart());
    });
    sinceTick_.start();
    timer_.start(2);
  }
  int Ticks() const { return ticks_; }
  qint64 LongestGapMs() const { return longestGapMs_; }

 private:
  QTimer timer_;
  QElapsedTimer sinceTick_;
  int ticks_ = 0;
  qint64 longestGapMs_ = 0;
};

TEST(LogindPowerTest, CanAnswersDecideWhatIsAllowed) {
  LogindMock mock(
      QStringLiteral(R"({"CanPowerOff": "no", "CanReboot": "challenge", "CanSuspend": "na",)"
                     R"( "CanHibernate": "yes"})"));
  ASSERT_TRUE(mock.Started());
  sim::SimLog backendLog;
  LogindPower power(QDBusConnection::sessionBus(), backendLog);
  EXPECT_EQ(Allowed(power, PowerCall::PowerOff), PowerAnswer::No);
  EXPECT_EQ(Allowed(power, PowerCall::Reboot), PowerAnswer::Yes);
  EXPECT_EQ(Allowed(power, PowerCall::Suspend), PowerAnswer::No);
  EXPECT_EQ(Allowed(power, PowerCall::Hibernate), PowerAnswer::Yes);
}

TEST(LogindPowerTest, ActionsReachLogindAndItsRefusalComesBack) {
  SessionIdVariable session("c7");
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  sim::SimLog backendLog;
  LogindPower power(QDBusConnection::sessionBus(), backendLog);
  for (const PowerCall call : kAllCalls)
    EXPECT_EQ(Allowed(power, call), PowerAnswer::Yes);
  for (const PowerCall call : kAllCalls)
    EXPECT_EQ(Performed(power, call), PowerAnswer::Yes);
  const QStringList questions = {"CanPowerOff", "CanReboot", "CanSuspend", "CanHibernate",
                                 "GetSession"};
  EXPECT_EQ(mock.Calls(questions), (QStringList{"PowerOff true", "Reboot true", "Suspend true",
                                                "Hibernate true", "TerminateSession c7"}));

  mock.AddMethod("Suspend", "b", "",
                 "raise dbus.exceptions.DBusException('not now', "
                 "name='org.freedesktop.DBus.Error.AccessDenied')");
  EXPECT_EQ(Performed(power, PowerCall::Suspend), PowerAnswer::No);
  EXPECT_EQ(Performed(power, PowerCall::Hibernate), PowerAnswer::Yes);
}

TEST(LogindPowerTest, ARefusalIsOneLogLineWithTheErrorsName) {
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  mock.AddMethod("PowerOff", "b", "",
                 "raise dbus.exceptions.DBusException('not now', "
                 "name='org.freedesktop.DBus.Error.AccessDenied')");
  sim::SimLog backendLog;
  LogindPower power(QDBusConnection::sessionBus(), backendLog);
  EXPECT_EQ(Performed(power, PowerCall::Reboot), PowerAnswer::Yes);
  EXPECT_TRUE(backendLog.Lines().empty());
  EXPECT_EQ(Performed(power, PowerCall::PowerOff), PowerAnswer::No);
  ASSERT_EQ(backendLog.CountFrom("logind"), 1);
  EXPECT_EQ(backendLog.Lines()[0].text,
            "PowerOff answered org.freedesktop.DBus.Error.AccessDenied: not now");
}

TEST(LogindPowerTest, LogOffTerminatesTheSessionOfTheProcess) {
  SessionIdVariable session(nullptr);
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  sim::SimLog backendLog;
  LogindPower power(QDBusConnection::sessionBus(), backendLog);
  // The template knows no session of this process.
  EXPECT_EQ(Allowed(power, PowerCall::LogOff), PowerAnswer::No);
  EXPECT_EQ(Performed(power, PowerCall::LogOff), PowerAnswer::No);

  ASSERT_NE(mock.Call(kMock, "AddSession", {"c2", "seat0", 1000u, "owner", true}).type(),
            QDBusMessage::ErrorMessage);
  mock.AddMethod("GetSessionByPID", "u", "o", "ret = '/org/freedesktop/login1/session/c2'");
  mock.Call(kMock, "ClearCalls");
  EXPECT_EQ(Allowed(power, PowerCall::LogOff), PowerAnswer::Yes);
  EXPECT_EQ(Performed(power, PowerCall::LogOff), PowerAnswer::Yes);
  const QString byPid = "GetSessionByPID " + QString::number(::getpid());
  EXPECT_EQ(mock.Calls(), (QStringList{byPid, byPid, "TerminateSession c2"}));
}

TEST(LogindPowerTest, SleepRunsTheHandlerWhileTheSystemWaitsForIt) {
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  sim::SimLog backendLog;
  LogindPower power(QDBusConnection::sessionBus(), backendLog);
  struct Seen {
    bool suspending;
    std::size_t locks;  // inhibitor locks held while the handler ran
  };
  std::vector<Seen> seen;
  power.SetOnSleep([&](bool suspending) {
    seen.push_back({suspending, mock.Inhibitors().size()});
  });

  ASSERT_TRUE(ProcessEventsUntil([&] { return mock.Inhibitors().size() == 1; }));
  const Inhibitor lock = mock.Inhibitors().front();
  EXPECT_EQ(lock.what, "sleep");
  EXPECT_EQ(lock.who, "Pelorin");
  EXPECT_EQ(lock.mode, "delay");
  EXPECT_FALSE(lock.why.isEmpty());
  ASSERT_TRUE(ProcessEventsUntil([&] { return power.HoldsSleepLock(); }));

  mock.EmitPrepareForSleep(true);
  ASSERT_TRUE(ProcessEventsUntil([&] { return seen.size() == 1; }));
  EXPECT_TRUE(seen[0].suspending);
  EXPECT_EQ(seen[0].locks, 1u);
  // Given back once the suite is ready, so that the computer can sleep.
  EXPECT_TRUE(ProcessEventsUntil([&] { return mock.Inhibitors().empty(); }));

  mock.EmitPrepareForSleep(false);
  ASSERT_TRUE(ProcessEventsUntil([&] { return seen.size() == 2; }));
  EXPECT_FALSE(seen[1].suspending);
  // Taken again for the next sleep.
  EXPECT_TRUE(ProcessEventsUntil([&] { return mock.Inhibitors().size() == 1; }));

  power.SetOnSleep(nullptr);
  EXPECT_TRUE(ProcessEventsUntil([&] { return mock.Inhibitors().empty(); }));
  // Without a handler the signals go unheard; a second listener shows they came.
  LogindPower witness(QDBusConnection::sessionBus(), backendLog);
  int witnessed = 0;
  witness.SetOnSleep([&](bool) { ++witnessed; });
  mock.EmitPrepareForSleep(true);
  mock.EmitPrepareForSleep(false);
  ASSERT_TRUE(ProcessEventsUntil([&] { return witnessed == 2; }));
  EXPECT_EQ(seen.size(), 2u);
}

TEST(LogindPowerTest, LateAnswersComeWhileTheEventLoopTurns) {
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  // An answer within the limit counts; one after it is no answer. The mock answers one
  // call at a time: the one beyond the limit comes last.
  mock.AddMethod("CanPowerOff", "", "s", "time.sleep(0.2); ret = 'yes'");
  mock.AddMethod("Suspend", "b", "", "time.sleep(0.2)");
  mock.AddMethod("CanReboot", "", "s", "time.sleep(1.5); ret = 'yes'");
  sim::SimLog backendLog;
  LogindPower power(QDBusConnection::sessionBus(), backendLog,
                    {.questionMs = 1000, .actionMs = 1000});
  Heartbeat heartbeat;
  EXPECT_EQ(Allowed(power, PowerCall::PowerOff), PowerAnswer::Yes);
  EXPECT_EQ(Performed(power, PowerCall::Suspend), PowerAnswer::Yes);
  EXPECT_EQ(Allowed(power, PowerCall::Reboot), PowerAnswer::NoAnswer);
  EXPECT_GT(heartbeat.Ticks(), 0);
  ::testing::Test::RecordProperty("longest_event_loop_gap_ms",
                                  static_cast<int>(heartbeat.LongestGapMs()));
}

TEST(LogindPowerTest, LogindThatNeverAnswersCountsAsNoAnswer) {
  SessionIdVariable session("c7");
  LogindMock mock;
  ASSERT_TRUE(mock.Started());
  sim::SimLog backendLog;
  LogindPower power(QDBusConnection::sessionBus(), backendLog,
                    {.questionMs = 300, .actionMs = 400});
  mock.Freeze();
  Heartbeat heartbeat;
  for (const PowerCall call : kAllCalls) {
    // The event loop turns while the question is on its way: a tick comes before the
    // answer.
    const int ticksBefore = heartbeat.Ticks();
    auto ticksAtAnswer = std::make_shared<int>(-1);
    EXPECT_EQ(AnswerTo([&](ports::PowerReply reply) {
                power.Allowed(call, [reply, ticksAtAnswer, &heartbeat](PowerAnswer answer) {
                  *ticksAtAnswer = heartbeat.Ticks();
                  reply(answer);
                });
              }),
              PowerAnswer::NoAnswer);
    EXPECT_GT(*ticksAtAnswer, ticksBefore);
    EXPECT_EQ(Performed(power, call), PowerAnswer::NoAnswer);
  }
  ::testing::Test::RecordProperty("longest_event_loop_gap_ms",
                                  static_cast<int>(heartbeat.LongestGapMs()));
  mock.Thaw();
  // logind is there again: the next question is answered.
  EXPECT_EQ(Allowed(power, PowerCall::PowerOff), PowerAnswer::Yes);
}

TEST(LogindPowerTest, WithoutLogindOrWithoutABusNothingIsAllowedOrDone) {
  ASSERT_FALSE(LogindOnBus());
  QDBusConnection noBus = QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/pelorin-test-bus"), QStringLiteral("pelorin-no-bus"));
  ASSERT_FALSE(noBus.isConnected());
  for (const QDBusConnection& bus : {QDBusConnection::sessionBus(), noBus}) {
    SCOPED_TRACE(bus.isConnected() ? "bus without logind" : "no bus");
    sim::SimLog backendLog;
    LogindPower power(bus, backendLog);
    bool called = false;
    power.SetOnSleep([&](bool) { called = true; });
    for (const PowerCall call : kAllCalls) {
      EXPECT_EQ(Allowed(power, call), PowerAnswer::No);
      EXPECT_EQ(Performed(power, call), PowerAnswer::No);
    }
    EXPECT_FALSE(power.HoldsSleepLock());
    EXPECT_FALSE(called);
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("pelorin-no-bus"));
}

}  // namespace
}  // namespace pelorin::lnx
