// A logout through the session manager, with the real program on the xcb platform of
// the X server this test runs under and a real XSMP session manager (TestSessionManager):
// "save yourself" for a shutdown is answered, and the "die" that follows ends the suite
// in order: the profile's state is saved, the watchdog is told, and the process ends
// with status 0. Real here: the program, Qt's session management client, the protocol,
// the watchdog. Not real: a desktop's session manager deciding when to log out.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "TestSessionManager.h"
#include "linux/ChannelRecord.h"
#include "linux/LinuxCompanion.h"
#include "platform/ChildProcesses.h"
#include "platform/ScopedEnvironmentVariable.h"
#include "sim/SimLog.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::ReadBytes;
using testing::ScopedEnvironmentVariable;
using testing::TempDir;
using namespace std::chrono_literals;

const fs::path kPelorin = PELORIN_BUILD_DIR "/bin/pelorin";

TEST(SessionManagerLogout, SaveYourselfAndDieEndTheSuiteInOrder) {
  ASSERT_TRUE(fs::exists(kPelorin)) << "build the pelorin target first";
  TempDir root;
  const fs::path home = root / "home";
  const fs::path log = root / "suite.log";
  const ScopedEnvironmentVariable pelorinHome("PELORIN_HOME", std::nullopt);
  const ScopedEnvironmentVariable config("XDG_CONFIG_HOME", (root / "config").string());
  const ScopedEnvironmentVariable iceAuthority("ICEAUTHORITY", (root / "ice").string());
  const std::vector<std::string> start = {kPelorin.string(), "--home", home.string(), "--backend",
                                          "sim"};
  const auto state = [&] {
    return testing::RunProgram(kPelorin.string(), {"--home", home.string(), "--sim", "state"}).out;
  };

  // The first run, ended while its message waits, so that the next start asks nothing.
  pid_t suite = testing::Spawn(start, log);
  ASSERT_GT(suite, 0);
  ASSERT_TRUE(
      testing::Eventually([&] { return fs::exists(home / "Custodo" / "pelorin.bk"); }, 30s));
  ::kill(suite, SIGTERM);
  ASSERT_EQ(testing::WaitForExit(suite, 20s), 0);

  testing::TestSessionManager manager;
  ASSERT_FALSE(manager.Address().empty());
  {
    const ScopedEnvironmentVariable session("SESSION_MANAGER", manager.Address());
    suite = testing::Spawn(start, log);
  }
  ASSERT_GT(suite, 0);
  struct Reap {
    pid_t& pid;
    fs::path lock;
    ~Reap() {
      if (pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
      // A suite that the watchdog started again is no child of the test.
      if (const auto record = lnx::ReadChannelRecord(lock)) ::kill(record->pid, SIGKILL);
    }
  } reap{suite, home / ".pelorin-instance"};
  ASSERT_TRUE(manager.WaitForClient(20s)) << ReadBytes(log);
  ASSERT_TRUE(testing::Eventually([&] { return state() == "active\n"; }, 30s)) << ReadBytes(log);
  ASSERT_TRUE(testing::Eventually(
      [&] { return ReadBytes(log).find("the suite greeted its companion") != std::string::npos; },
      20s));
  const fs::path status = home / "Profiles" / "Master" / "status.hif";
  fs::remove(status);

  bool saved = false;
  ASSERT_TRUE(manager.SaveYourselfForShutdown(10s, saved)) << ReadBytes(log);
  EXPECT_TRUE(saved);
  EXPECT_EQ(state(), "active\n");  // the logout may still be cancelled by another program

  EXPECT_TRUE(manager.Die(20s)) << ReadBytes(log);
  EXPECT_EQ(testing::WaitForExit(suite, 20s), 0) << ReadBytes(log);
  suite = -1;
  EXPECT_THAT(ReadBytes(status), HasSubstr("[POSITION]\r\nX=-4000\r\n"));
  sim::SimLog backendLog;
  lnx::LinuxCompanion companion(home, kPelorin, backendLog);
  EXPECT_TRUE(testing::Eventually([&] { return !companion.WindowExists(); }, 20s));
  const std::string said = ReadBytes(log);
  EXPECT_THAT(said, HasSubstr("the suite is ending in order"));
  EXPECT_THAT(said, ::testing::Not(HasSubstr("started the suite again")));
}

}  // namespace
}  // namespace pelorin
