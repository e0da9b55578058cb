#include "linux/LinuxClock.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <cctype>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "platform/QtTestApplication.h"
#include "platform/ScopedEnvironmentVariable.h"
#include "support/TempDir.h"

namespace pelorin::lnx {
namespace {

using ports::LocalTime;
using testing::ProcessEventsUntil;
using testing::ReadBytes;
using testing::ScopedEnvironmentVariable;
using testing::TempDir;

constexpr char kService[] = "org.freedesktop.timedate1";
constexpr char kObject[] = "/org/freedesktop/timedate1";

// Whether the clock was set, waited for in the event loop (nothing when no answer came
// in time). The answer must not come inside the call.
std::optional<bool> Set(LinuxClock& clock, const LocalTime& time) {
  // Shared: an answer after the wait must not write to a finished frame.
  auto answer = std::make_shared<std::optional<bool>>();
  clock.SetNow(time, [answer](bool set) { *answer = set; });
  EXPECT_FALSE(answer->has_value()) << "answered inside the call";
  ProcessEventsUntil([&] { return answer->has_value(); });
  return *answer;
}

// A private message bus standing in for the system bus, with python-dbusmock playing
// systemd's time service on it; every call it receives goes to a log file.
class LinuxClockTimeServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureQtApplication();
    const QString python = QStandardPaths::findExecutable("python3", {"/usr/bin", "/bin"});
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty() || python.isEmpty()) {
      GTEST_SKIP() << "dbus-daemon or python3 missing";
    }
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(daemon_.waitForReadyRead(10000));
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    bus_ = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(address_, "pelorin-test-timedate"));
    ASSERT_TRUE(bus_->isConnected());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", address_);
    service_.setProcessEnvironment(env);
    service_.start(python, {"-m", "dbusmock", "--template", "timedated", "-l",
                            QString::fromStdString(log_.string())});
    const bool registered = ProcessEventsUntil(
        [&] {
          return bus_->interface()->isServiceRegistered(kService) ||
                 service_.state() == QProcess::NotRunning;
        },
        30000);
    if (!registered || service_.state() == QProcess::NotRunning) {
      GTEST_SKIP() << "python-dbusmock did not start";
    }
  }

  void TearDown() override {
    service_.kill();
    service_.waitForFinished();
    bus_.reset();
    QDBusConnection::disconnectFromBus("pelorin-test-timedate");
    daemon_.kill();
    daemon_.waitForFinished();
  }

  // Makes the service refuse SetTime from now on, as polkit does for a user without
  // the right.
  void RefuseSetTime() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kObject, "org.freedesktop.DBus.Mock", "AddMethod");
    call << QString(kService) << QString("SetTime") << QString("xbb") << QString("")
         << QString(
                "raise dbus.exceptions.DBusException('Interactive authentication required.', "
                "name='org.freedesktop.DBus.Error.InteractiveAuthorizationRequired')");
    ASSERT_EQ(bus_->call(call).type(), QDBusMessage::ReplyMessage);
  }

  // The SetTime calls the service received (its log without the time stamps and the
  // lines about raised errors).
  std::string SetTimeCalls() const {
    std::string calls;
    const std::string log = ReadBytes(log_);
    for (std::size_t start = 0; start < log.size();) {
      std::size_t end = log.find('\n', start);
      if (end == std::string::npos) end = log.size();
      const std::string line = log.substr(start, end - start);
      if (const auto at = line.find(" SetTime ");
          at != std::string::npos && std::isdigit(static_cast<unsigned char>(line[at + 9]))) {
        calls += line.substr(at + 1) + "\n";
      }
      start = end + 1;
    }
    return calls;
  }

  TempDir temp_;
  std::filesystem::path log_ = temp_ / "timedated.log";
  QProcess daemon_;
  QProcess service_;
  QString address_;
  std::unique_ptr<QDBusConnection> bus_;
};

TEST_F(LinuxClockTimeServiceTest, SetNowSendsTheLocalTimeAsUtcMicroseconds) {
  const struct {
    const char* zone;
    LocalTime time;
    const char* call;
  } cases[] = {
      {"UTC0", {2024, 2, 29, 12, 34, 56, 789}, "SetTime 1709210096789000 False False"},
      {"UTC0", {2023, 12, 31, 23, 59, 59, 999}, "SetTime 1704067199999000 False False"},
      // Central European time: one hour ahead of UTC in winter, two in summer.
      {"CET-1CEST,M3.5.0,M10.5.0/3",
       {2024, 1, 15, 12, 0, 0, 0},
       "SetTime 1705316400000000 False False"},
      {"CET-1CEST,M3.5.0,M10.5.0/3",
       {2024, 7, 1, 12, 0, 0, 0},
       "SetTime 1719828000000000 False False"},
  };
  LinuxClock clock(*bus_);
  std::string expected;
  for (const auto& c : cases) {
    ScopedEnvironmentVariable zone("TZ", c.zone);
    ::tzset();
    EXPECT_EQ(Set(clock, c.time), true) << c.call;
    expected += std::string(c.call) + "\n";
  }
  ::tzset();
  // The service logs asynchronously to its file.
  EXPECT_TRUE(ProcessEventsUntil([&] { return SetTimeCalls() == expected; }));
  EXPECT_EQ(SetTimeCalls(), expected);
}

TEST_F(LinuxClockTimeServiceTest, ImpossibleDatesAndRefusalsAreFalse) {
  ScopedEnvironmentVariable zone("TZ", "UTC0");
  ::tzset();
  LinuxClock clock(*bus_);
  const LocalTime impossible[] = {
      {2023, 2, 29, 12, 0, 0, 0}, {2024, 4, 31, 12, 0, 0, 0}, {2024, 13, 1, 0, 0, 0, 0},
      {2024, 0, 1, 0, 0, 0, 0},   {2024, 1, 0, 0, 0, 0, 0},   {2024, 1, 1, 24, 0, 0, 0},
      {2024, 1, 1, 0, 60, 0, 0},  {2024, 1, 1, 0, 0, 60, 0},  {2024, 1, 1, 0, 0, 0, 1000},
      {2024, 1, 1, -1, 0, 0, 0},
  };
  for (const auto& t : impossible) {
    EXPECT_EQ(Set(clock, t), false) << t.year << "-" << t.month << "-" << t.day << " " << t.hour
                                    << ":" << t.minute << ":" << t.second << "." << t.millisecond;
  }

  RefuseSetTime();
  EXPECT_EQ(Set(clock, {2024, 2, 29, 12, 0, 0, 0}), false);

  // A service that takes the call and never answers.
  LinuxClock impatient(*bus_, 300);
  ::kill(static_cast<pid_t>(service_.processId()), SIGSTOP);
  EXPECT_EQ(Set(impatient, {2024, 3, 1, 12, 0, 0, 0}), false);
  ::kill(static_cast<pid_t>(service_.processId()), SIGCONT);
  // Running again, the service takes the call late; its log shows it.
  EXPECT_TRUE(
      ProcessEventsUntil([&] { return SetTimeCalls().find("1709294400") != std::string::npos; }));

  service_.kill();
  service_.waitForFinished();
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return !bus_->interface()->isServiceRegistered(kService); }));
  EXPECT_EQ(Set(clock, {2024, 2, 29, 12, 0, 0, 0}), false);  // no service on the bus
  // The service saw the refused and the unanswered call only: impossible dates are never
  // sent.
  EXPECT_EQ(SetTimeCalls(),
            "SetTime 1709208000000000 False False\nSetTime 1709294400000000 False False\n");
}

TEST(LinuxClock, NowIsTheSystemsLocalTime) {
  testing::EnsureQtApplication();
  ScopedEnvironmentVariable zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  ::tzset();
  LinuxClock clock;
  // The fields of the system's local time, read within one second.
  LocalTime now;
  std::tm expected{};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::time_t before = std::time(nullptr);
    now = clock.Now();
    if (std::time(nullptr) != before) continue;
    localtime_r(&before, &expected);
    break;
  }
  EXPECT_EQ(now.year, expected.tm_year + 1900);
  EXPECT_EQ(now.month, expected.tm_mon + 1);
  EXPECT_EQ(now.day, expected.tm_mday);
  EXPECT_EQ(now.hour, expected.tm_hour);
  EXPECT_EQ(now.minute, expected.tm_min);
  EXPECT_EQ(now.second, expected.tm_sec);
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LE(now.millisecond, 999);

  // A bus that does not exist sets nothing.
  LinuxClock unconnected(
      QDBusConnection::connectToBus(QString("unix:path=/nonexistent/bus"), "pelorin-test-no-bus"));
  EXPECT_EQ(Set(unconnected, now), false);
  QDBusConnection::disconnectFromBus("pelorin-test-no-bus");
}

}  // namespace
}  // namespace pelorin::lnx
