// The real program on one home: a second start, from whatever environment, finds the
// running suite, and the real watchdog restarts a killed suite in restoring mode. The
// first suite runs on the simulated services without a display (offscreen) and stays in
// its first-run message, which keeps it "starting" while its lock and its command channel
// work.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcesses.h"
#include "ScopedEnvironmentVariable.h"
#include "linux/ChannelRecord.h"
#include "linux/InstanceLock.h"
#include "linux/InstancePaths.h"
#include "linux/LinuxCompanion.h"
#include "linux/RestoreToken.h"
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

const fs::path kPelorin = PELORIN_BUILD_DIR "/bin/pelorin";

// Every file under a folder with its size and time: what a start may not change.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> Snapshot(
    const fs::path& folder) {
  std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ec)) {
    const auto size = entry.is_regular_file() ? entry.file_size() : 0;
    files[entry.path().string()] = {size, entry.last_write_time()};
  }
  return files;
}

class SuiteProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(kPelorin)) << "build the pelorin target first";
    for (const fs::path& folder : {runtime1, runtime2}) {
      fs::create_directories(folder);
      ::chmod(folder.c_str(), 0700);
    }
  }

  void TearDown() override {
    if (first > 0) {
      ::kill(first, SIGKILL);
      ::waitpid(first, nullptr, 0);
    }
    if (watchdog > 0) {
      ::kill(watchdog, SIGKILL);
      ::waitpid(watchdog, nullptr, 0);
    }
    // A suite that the watchdog started is no child of the test.
    if (const auto record = lnx::ReadChannelRecord(Paths().LockFile())) {
      if (record->pid != first) ::kill(record->pid, SIGKILL);
    }
    if (HasFailure()) std::printf("the first suite said:\n%s", ReadBytes(firstLog).c_str());
  }

  // pelorin with these arguments, run to its end, with XDG_RUNTIME_DIR set to `runtime`
  // or, when it is empty, unset.
  testing::ProgramResult Pelorin(const fs::path& runtime, std::vector<std::string> args) {
    const ScopedEnvironmentVariable variable(
        "XDG_RUNTIME_DIR",
        runtime.empty() ? std::nullopt : std::optional<std::string>(runtime.string()));
    args.insert(args.begin(), {"--home", home.string()});
    return testing::RunProgram(kPelorin.string(), args);
  }

  // Starts the first suite in runtime1 and waits until its channel answers and its
  // first run has written its files.
  void StartFirst(const std::vector<std::string>& extra = {}, int inherited = -1) {
    const ScopedEnvironmentVariable variable("XDG_RUNTIME_DIR", runtime1.string());
    std::vector<std::string> args = {kPelorin.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"--home", home.string(), "--backend", "sim"});
    first = testing::Spawn(args, firstLog, inherited);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(testing::Eventually(
        [&] {
          return Pelorin(runtime1, {"--sim", "state"}).out == "starting\n";
        },
        std::chrono::seconds(30)));
    ASSERT_TRUE(testing::Eventually(
        [&] {
          const auto before = Snapshot(home);
          std::this_thread::sleep_for(std::chrono::milliseconds(200));
          return fs::exists(home / "Custodo" / "pelorin.bk") && Snapshot(home) == before;
        },
        std::chrono::seconds(30)));
  }

  // The paths of the first suite.
  lnx::InstancePaths Paths() const {
    lnx::InstancePaths paths = lnx::InstancePathsFor(home);
    paths.runtime = {runtime1, false};
    return paths;
  }
  std::optional<std::string> WriteToken() const { return lnx::WriteRestoreToken(Paths()); }

  // The read end of a pipe that holds `text`, as the watchdog hands over its secret.
  static int PipeHolding(const std::string& text) {
    int ends[2];
    if (::pipe(ends) != 0) return -1;
    if (::write(ends[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) return -1;
    ::close(ends[1]);
    return ends[0];
  }

  TempDir root;
  fs::path home = root / "home";
  fs::path runtime1 = root / "run1";
  fs::path runtime2 = root / "run2";
  fs::path firstLog = root / "first.log";
  ScopedEnvironmentVariable platform{"QT_QPA_PLATFORM", "offscreen"};
  ScopedEnvironmentVariable display{"DISPLAY", std::nullopt};
  ScopedEnvironmentVariable wayland{"WAYLAND_DISPLAY", std::nullopt};
  ScopedEnvironmentVariable pelorinHome{"PELORIN_HOME", std::nullopt};
  ScopedEnvironmentVariable config{"XDG_CONFIG_HOME", (root / "config").string()};
  pid_t first = -1;
  pid_t watchdog = -1;
};

TEST_F(SuiteProcesses, FromAnyEnvironmentItFindsTheRunningSuiteAndEndsWithoutTouchingAFile) {
  // The first suite is asked for restoring mode with a secret that is not the token's.
  ASSERT_TRUE(WriteToken());
  const int handOver = PipeHolding(std::string(64, '0') + "\n");
  StartFirst({"PELORIN.EXE", "--restore-fd", "3"}, handOver);
  ::close(handOver);
  EXPECT_THAT(ReadBytes(firstLog), HasSubstr("the restore token does not match"));
  EXPECT_FALSE(fs::exists(Paths().RestoreToken()));
  EXPECT_TRUE(fs::is_empty(runtime2));

  const auto homeBefore = Snapshot(home);
  const auto runtimeBefore = Snapshot(runtime1);
  for (const fs::path& runtime : {runtime1, runtime2, fs::path()}) {
    const std::string where = runtime.empty() ? "no XDG_RUNTIME_DIR" : runtime.string();
    const auto second = Pelorin(runtime, {"--backend", "sim"});
    EXPECT_EQ(second.exitStatus, 0) << where;
    EXPECT_THAT(second.err, HasSubstr("a suite already runs on " + home.string())) << where;
    const auto state = Pelorin(runtime, {"--sim", "state"});
    EXPECT_EQ(state.out, "starting\n") << where << ": " << state.err;
    EXPECT_EQ(Pelorin(runtime, {"--command", "999"}).exitStatus, 0) << where;
  }
  EXPECT_EQ(Snapshot(home), homeBefore);
  EXPECT_EQ(Snapshot(runtime1), runtimeBefore);
  EXPECT_TRUE(fs::is_empty(runtime2));

  // Once the suite is gone, commands say so and fail, from any environment.
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  first = -1;
  for (const fs::path& runtime : {runtime1, runtime2}) {
    const auto command = Pelorin(runtime, {"--command", "999"});
    EXPECT_EQ(command.exitStatus, 1);
    EXPECT_THAT(command.err, HasSubstr("no suite runs on " + home.string()));
  }
}

TEST_F(SuiteProcesses, TheSecretOfTheTokenHandedOverByPipeLetsTheSuiteRestore) {
  const auto secret = WriteToken();
  ASSERT_TRUE(secret);
  const int handOver = PipeHolding(*secret + "\n");
  StartFirst({"PELORIN.EXE", "--restore-fd", "3"}, handOver);
  ::close(handOver);
  EXPECT_THAT(ReadBytes(firstLog), ::testing::Not(HasSubstr("restore token")));
  EXPECT_FALSE(fs::exists(Paths().RestoreToken()));  // used up
}

TEST_F(SuiteProcesses, TheWatchdogRestartsAKilledSuiteInRestoringModeWithoutItsPassword) {
  StartFirst();  // the first run
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  first = -1;
  const fs::path pelorinctl = PELORIN_BUILD_DIR "/bin/pelorinctl";
  const fs::path settings = home / "pelorin.hf";
  ASSERT_EQ(testing::RunProgram(pelorinctl.string(),
                                {"hf", "set", settings.string(), "Profile1", "Pass", "secret"})
                .exitStatus,
            0);
  ASSERT_THAT(testing::RunProgram(pelorinctl.string(), {"hf", "cat", settings.string()}).out,
              HasSubstr("Pass=secret"));

  // The suite as the user starts it waits for the profile password; its watchdog watches.
  StartFirst();
  const fs::path watchdogLog = root / "cstdr.log";
  {
    const ScopedEnvironmentVariable variable("XDG_RUNTIME_DIR", runtime1.string());
    const ScopedEnvironmentVariable poll("PELORIN_CSTDR_POLL_MS", "50");
    watchdog = testing::Spawn({PELORIN_BUILD_DIR "/bin/cstdr", "START", "--home", home.string(),
                               "--suite", kPelorin.string(), "--backend", "sim"},
                              watchdogLog);
    ASSERT_GT(watchdog, 0);
    sim::SimLog backendLog;
    lnx::LinuxCompanion companion(home, kPelorin, backendLog);
    ASSERT_TRUE(testing::Eventually([&] { return companion.WindowExists(); }));
  }
  EXPECT_EQ(Pelorin(runtime1, {"--sim", "state"}).out, "starting\n");

  // Killed, it comes back in restoring mode: the profile loads without its password.
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  first = -1;
  EXPECT_TRUE(testing::Eventually(
      [&] {
        return Pelorin(runtime1, {"--sim", "state"}).out == "active\n";
      },
      std::chrono::seconds(30)))
      << ReadBytes(watchdogLog);
  const std::string said = ReadBytes(watchdogLog);
  EXPECT_THAT(said, HasSubstr("started the suite again"));
  EXPECT_THAT(said, ::testing::Not(HasSubstr("restore token")));
  EXPECT_FALSE(fs::exists(Paths().RestoreToken()));
}

TEST_F(SuiteProcesses, ARuntimeFolderThatOthersCanWriteInStopsTheSuiteBeforeItUsesIt) {
  fs::create_directories(home);
  const fs::path open = root / "open";
  fs::create_directory(open);
  ::chmod(open.c_str(), 0777);
  const auto result = Pelorin(open, {"--backend", "sim"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, HasSubstr("the runtime folder \"" + open.string() + "\""));
  EXPECT_THAT(result.err, HasSubstr("others can write in it"));
  EXPECT_TRUE(fs::is_empty(open));
  // Not seeded: the suite did not start. Only its lock was taken, and given back.
  EXPECT_EQ(fs::directory_iterator(home)->path().filename(), ".pelorin-instance");
  EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 1);
  EXPECT_EQ(ReadBytes(home / ".pelorin-instance"), "");

  // A command is never sent into such a folder either: no suite runs, and it says so.
  const auto command = Pelorin(open, {"--command", "999"});
  EXPECT_EQ(command.exitStatus, 1);
  EXPECT_THAT(command.err, HasSubstr("no suite runs on"));
}

TEST_F(SuiteProcesses, AHomeThatCannotBeLockedIsReportedWithItsNameAndReason) {
  testing::WriteBytes(root / "file", "x");
  const auto result = testing::RunProgram(
      kPelorin.string(), {"--home", (root / "file" / "home").string(), "--backend", "sim"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, HasSubstr((root / "file" / "home").string()));
  EXPECT_THAT(result.err, HasSubstr("Not a directory"));
}

}  // namespace
}  // namespace pelorin
