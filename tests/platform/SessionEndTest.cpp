// The end of the desktop session against the real program on the simulated services
// without a display (offscreen): SIGTERM, SIGHUP and SIGINT each save the profile's state, tell
// the real watchdog (which the suite starts itself) that the suite ends on purpose, and
// end the process with status 0. The watchdog then ends too instead of restarting it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcesses.h"
#include "ScopedEnvironmentVariable.h"
#include "linux/ChannelRecord.h"
#include "linux/InstancePaths.h"
#include "linux/LinuxCompanion.h"
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

class SessionEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
  }

  void TearDown() override {
    if (suite > 0) {
      ::kill(suite, SIGKILL);
      ::waitpid(suite, nullptr, 0);
    }
    if (HasFailure()) std::printf("the suite and its watchdog said:\n%s", ReadBytes(log).c_str());
  }

  std::string State() {
    return testing::RunProgram(kPelorin.string(), {"--home", home.string(), "--sim", "state"}).out;
  }

  void Start() {
    suite = testing::Spawn({kPelorin.string(), "--home", home.string(), "--backend", "sim"}, log);
    ASSERT_GT(suite, 0);
  }

  // Sends the signal and waits for the suite's exit status.
  std::optional<int> EndWith(int signal) {
    ::kill(suite, signal);
    const auto exitStatus = testing::WaitForExit(suite, 20s);
    if (exitStatus) suite = -1;
    return exitStatus;
  }

  std::vector<fs::path> PlainCopies() const {
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(home)) {
      if (entry.path().filename() == "pelorin.hif" || entry.path().filename() == "main.hif") {
        found.push_back(entry.path());
      }
    }
    return found;
  }

  TempDir root;
  fs::path home = root / "home";
  fs::path runtime = root / "run";
  fs::path log = root / "suite.log";
  fs::path status = home / "Profiles" / "Master" / "status.hif";
  ScopedEnvironmentVariable runtimeVariable{"XDG_RUNTIME_DIR", runtime.string()};
  ScopedEnvironmentVariable platform{"QT_QPA_PLATFORM", "offscreen"};
  ScopedEnvironmentVariable display{"DISPLAY", std::nullopt};
  ScopedEnvironmentVariable pelorinHome{"PELORIN_HOME", std::nullopt};
  ScopedEnvironmentVariable config{"XDG_CONFIG_HOME", (root / "config").string()};
  pid_t suite = -1;
};

TEST_F(SessionEnd, EndingSignalsSaveTellTheWatchdogAndEndTheSuite) {
  // The first run: its message waits unanswered (offscreen); the session ends meanwhile.
  Start();
  ASSERT_TRUE(
      testing::Eventually([&] { return fs::exists(home / "Custodo" / "pelorin.bk"); }, 30s));
  EXPECT_EQ(EndWith(SIGTERM), 0);
  EXPECT_THAT(PlainCopies(), ::testing::IsEmpty());

  sim::SimLog backendLog;
  lnx::LinuxCompanion companion(home, kPelorin, backendLog);
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(strsignal(signal));
    fs::remove(log);
    Start();
    ASSERT_TRUE(testing::Eventually([&] { return State() == "active\n"; }, 30s));
    // The suite has started its watchdog, and the watchdog has seen the suite.
    ASSERT_TRUE(testing::Eventually(
        [&] { return ReadBytes(log).find("the suite greeted its companion") != std::string::npos; },
        20s));
    fs::remove(status);  // what the shutdown writes back

    EXPECT_EQ(EndWith(signal), 0);
    EXPECT_THAT(ReadBytes(status), HasSubstr("[POSITION]\r\nX=-4000\r\n"));
    EXPECT_THAT(PlainCopies(), ::testing::IsEmpty());
    EXPECT_TRUE(testing::Eventually([&] { return !companion.WindowExists(); }, 20s));
    const std::string said = ReadBytes(log);
    EXPECT_THAT(said, HasSubstr("the suite is ending in order"));
    EXPECT_THAT(said, ::testing::Not(HasSubstr("started the suite again")));
    EXPECT_EQ(ReadBytes(home / ".pelorin-instance"), "");  // no channel record left
  }
}

}  // namespace
}  // namespace pelorin
