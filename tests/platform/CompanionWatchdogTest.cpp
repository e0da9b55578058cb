// The suite's side of the companion (LinuxCompanion) against the real cstdr program, with
// a shell script in the suite's place: it takes the suite's lock (in its home) with
// flock(1), writes down how it was started and the secret it was handed, and sleeps until
// the test kills it.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcesses.h"
#include "ScopedEnvironmentVariable.h"
#include "linux/InstancePaths.h"
#include "linux/LinuxCompanion.h"
#include "linux/RestoreToken.h"
#include "sim/SimLog.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Eventually;
using testing::ReadBytes;
using testing::ScopedEnvironmentVariable;
using testing::Spawn;
using testing::TempDir;
using testing::WaitForExit;
using testing::WriteBytes;

const fs::path kCstdr = PELORIN_BUILD_DIR "/bin/cstdr";

constexpr const char* kFakeSuite = R"(#!/bin/sh
echo "$* DISPLAY=${DISPLAY:-}" >> "$PELORIN_FAKE_SUITE_STARTS"
restore_fd=""
while [ $# -gt 0 ]; do
  [ "$1" = "--restore-fd" ] && restore_fd=$2
  shift
done
[ -n "$restore_fd" ] && cat "/dev/fd/$restore_fd" > "$PELORIN_FAKE_SUITE_SECRET"
exec 9>>"$PELORIN_FAKE_SUITE_LOCK"
flock -n 9 || exit 3
echo $$ > "$PELORIN_FAKE_SUITE_PID.new" && mv "$PELORIN_FAKE_SUITE_PID.new" "$PELORIN_FAKE_SUITE_PID"
exec sleep 300
)";

// Standard error of this process goes to a file while the object lives, so that a
// program started detached writes its messages there.
class StderrToFile {
 public:
  explicit StderrToFile(const fs::path& file) : saved_(::dup(2)) {
    std::fflush(stderr);
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    ::dup2(fd, 2);
    ::close(fd);
  }
  ~StderrToFile() {
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
  }

 private:
  int saved_;
};

// An X display that answers: a listening abstract socket "/tmp/.X11-unix/X<n>", as X
// servers on Linux offer, without touching the file system.
class AnsweringDisplay {
 public:
  AnsweringDisplay() {
    for (int n = 6100 + ::getpid() % 1000; fd_ < 0 && n < 7200; ++n) {
      const std::string name = "/tmp/.X11-unix/X" + std::to_string(n);
      if (fs::exists(name)) continue;
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::memcpy(address.sun_path + 1, name.data(), name.size());
      const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
      if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(fd, 8) == 0) {
        fd_ = fd;
        display_ = ":" + std::to_string(n);
      } else {
        ::close(fd);
      }
    }
  }
  ~AnsweringDisplay() {
    if (fd_ >= 0) ::close(fd_);
  }
  const std::string& Name() const { return display_; }

 private:
  int fd_ = -1;
  std::string display_;
};

class CompanionWatchdog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(kCstdr)) << "build the cstdr target first";
    fs::create_directories(home);
    fs::create_directories(bin);
    fs::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    WriteBytes(suite, kFakeSuite);
    fs::permissions(suite, fs::perms::owner_all);
    fs::create_symlink(kCstdr, bin / "cstdr");
  }

  void TearDown() override {
    if (HasFailure()) std::printf("cstdr said:\n%s", ReadBytes(cstdrLog).c_str());
    companion.Post(ports::kCompanionShutdown);
    for (const pid_t pid : companions) {
      if (!WaitForExit(pid, 5s)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
    }
    KillSuite();
  }

  // The suite as the user starts it: a child of the test, holding its lock.
  void StartSuite() {
    firstSuite = Spawn({suite.string(), "--home", home.string()}, root / "suite.out");
    ASSERT_GT(firstSuite, 0);
    ASSERT_TRUE(Eventually([&] { return SuitePid() > 0; }));
  }

  pid_t SuitePid() const { return std::atoi(ReadBytes(suitePidFile).c_str()); }

  // Kills the running suite without a word to its companion, as a crash would.
  void KillSuite() {
    const pid_t pid = SuitePid();
    if (pid <= 0) return;
    fs::remove(suitePidFile);
    ::kill(pid, SIGKILL);
    if (pid == firstSuite) ::waitpid(pid, nullptr, 0);
  }

  // cstdr started directly by the test (its child), so that its exit status shows.
  pid_t StartCstdr(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args = {kCstdr.string(), "START",   "--home",
                                     home.string(),   "--suite", suite.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const pid_t pid = Spawn(args, cstdrLog);
    if (pid > 0) companions.push_back(pid);
    return pid;
  }

  std::vector<std::string> Starts() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadBytes(startsFile));
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }

  // Waits for the suite's n-th start to have taken its lock.
  bool WaitForStart(std::size_t n) {
    return Eventually([&] { return Starts().size() >= n && SuitePid() > 0; });
  }

  bool LogHas(const std::string& text) const {
    return ReadBytes(cstdrLog).find(text) != std::string::npos;
  }

  TempDir root;
  fs::path runtime = root / "run";
  fs::path home = root / "home";
  fs::path bin = root / "bin";
  fs::path suite = bin / "pelorin";
  fs::path startsFile = root / "starts";
  fs::path suitePidFile = root / "suite.pid";
  fs::path cstdrLog = root / "cstdr.log";
  ScopedEnvironmentVariable runtimeVariable{"XDG_RUNTIME_DIR", runtime.string()};
  ScopedEnvironmentVariable pollVariable{"PELORIN_CSTDR_POLL_MS", "50"};
  ScopedEnvironmentVariable displayVariable{"DISPLAY", std::nullopt};
  lnx::InstancePaths paths = lnx::InstancePathsFor(home);
  fs::path secretFile = root / "secret";
  ScopedEnvironmentVariable lockVariable{"PELORIN_FAKE_SUITE_LOCK", paths.LockFile().string()};
  ScopedEnvironmentVariable secretVariable{"PELORIN_FAKE_SUITE_SECRET", secretFile.string()};
  ScopedEnvironmentVariable startsVariable{"PELORIN_FAKE_SUITE_STARTS", startsFile.string()};
  ScopedEnvironmentVariable pidVariable{"PELORIN_FAKE_SUITE_PID", suitePidFile.string()};
  sim::SimLog backendLog;
  lnx::LinuxCompanion companion{home, suite, backendLog};
  pid_t firstSuite = -1;
  std::vector<pid_t> companions;
};

TEST_F(CompanionWatchdog, TheProgramMustBeAnExecutableBesideTheSuite) {
  EXPECT_TRUE(companion.ProgramExists());
  EXPECT_EQ(companion.ProgramFile(), bin / "cstdr");

  lnx::LinuxCompanion elsewhere(home, root / "other" / "pelorin", backendLog);
  EXPECT_FALSE(elsewhere.ProgramExists());
  EXPECT_FALSE(elsewhere.Start());
  WriteBytes(root / "other" / "cstdr", "#!/bin/sh\n");  // present, not executable
  EXPECT_FALSE(elsewhere.ProgramExists());
  EXPECT_FALSE(elsewhere.Start());
}

TEST_F(CompanionWatchdog, StartedByTheSuiteItTakesTheGreetingAndEndsWithTheSuite) {
  StartSuite();
  EXPECT_FALSE(companion.WindowExists());
  {
    const StderrToFile capture(cstdrLog);
    ASSERT_TRUE(companion.Start());
  }
  ASSERT_TRUE(Eventually([&] { return companion.WindowExists(); }));

  companion.Post({1, 2, 3});
  companion.Post(ports::kCompanionGreeting);
  ASSERT_TRUE(Eventually([&] { return LogHas("the suite greeted its companion"); }));
  EXPECT_TRUE(LogHas("ignored the message 1 2 3"));

  // The goodbye, and the suite's process ends right after it.
  companion.Post(ports::kCompanionShutdown);
  KillSuite();
  ASSERT_TRUE(Eventually([&] { return !companion.WindowExists(); }));
  EXPECT_TRUE(LogHas("the suite is ending in order"));
  EXPECT_EQ(Starts().size(), 1u);
  EXPECT_FALSE(fs::exists(paths.RestoreToken()));
  EXPECT_FALSE(fs::exists(paths.CompanionSocket()));
}

TEST_F(CompanionWatchdog, ASuiteThatEndsWithoutItsGoodbyeIsStartedAgainInRestoringMode) {
  const AnsweringDisplay display;
  ASSERT_FALSE(display.Name().empty());
  const ScopedEnvironmentVariable displayVariable2("DISPLAY", display.Name());
  StartSuite();
  const pid_t cstdr = StartCstdr({"--backend", "sim"});
  ASSERT_TRUE(Eventually([&] { return companion.WindowExists(); }));

  KillSuite();
  ASSERT_TRUE(WaitForStart(2));
  using ::testing::EndsWith;
  using ::testing::StartsWith;
  EXPECT_THAT(Starts()[1],
              StartsWith("PELORIN.EXE --home " + home.string() + " --backend sim --restore-fd "));
  EXPECT_THAT(Starts()[1], EndsWith(" DISPLAY=" + display.Name()));
  struct stat token {};
  ASSERT_EQ(::stat(paths.RestoreToken().c_str(), &token), 0);
  EXPECT_EQ(token.st_mode & 07777, 0600u);
  // The secret came through the pipe, and it is the token's.
  std::string secret = ReadBytes(secretFile);
  ASSERT_EQ(secret.size(), 65u);
  secret.pop_back();
  EXPECT_TRUE(lnx::ConsumeRestoreToken(paths, secret));

  // It watches the new process in turn, with a fresh secret.
  KillSuite();
  ASSERT_TRUE(WaitForStart(3));
  EXPECT_TRUE(fs::exists(paths.RestoreToken()));
  EXPECT_NE(ReadBytes(secretFile), secret + "\n");

  companion.Post(ports::kCompanionShutdown);
  EXPECT_EQ(WaitForExit(cstdr), 0);
  EXPECT_EQ(Starts().size(), 3u);
}

TEST_F(CompanionWatchdog, ASuiteThatKeepsCrashingIsRestartedThreeTimesAtMost) {
  StartSuite();
  const pid_t cstdr = StartCstdr();
  ASSERT_TRUE(Eventually([&] { return companion.WindowExists(); }));
  for (std::size_t restart = 1; restart <= 3; ++restart) {
    KillSuite();
    ASSERT_TRUE(WaitForStart(restart + 1)) << restart;
  }
  KillSuite();
  EXPECT_EQ(WaitForExit(cstdr), 1);
  EXPECT_EQ(Starts().size(), 4u);
  EXPECT_TRUE(LogHas("giving up"));
  EXPECT_THAT(Starts()[3],
              ::testing::StartsWith("PELORIN.EXE --home " + home.string() + " --restore-fd "));
  EXPECT_THAT(Starts()[3], ::testing::EndsWith(" DISPLAY="));
}

TEST_F(CompanionWatchdog, NoRestartWhenTheDisplayIsGone) {
  std::string gone;
  for (int n = 7300; gone.empty(); ++n)  // a display number nothing listens on
    if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(n))) gone = ":" + std::to_string(n) + ".0";
  const ScopedEnvironmentVariable displayVariable2("DISPLAY", gone);
  StartSuite();
  const pid_t cstdr = StartCstdr();
  ASSERT_TRUE(Eventually([&] { return companion.WindowExists(); }));

  KillSuite();
  EXPECT_EQ(WaitForExit(cstdr), 0);
  EXPECT_TRUE(LogHas("is gone"));
  EXPECT_EQ(Starts().size(), 1u);
  EXPECT_FALSE(fs::exists(paths.RestoreToken()));
}

TEST_F(CompanionWatchdog, OneCompanionPerHomeAndAStaleSocketIsReplaced) {
  // A socket file left behind by a companion that crashed: nobody answers on it.
  {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, paths.CompanionSocket().c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  }
  EXPECT_FALSE(companion.WindowExists());
  StartSuite();
  const pid_t first = StartCstdr();
  ASSERT_TRUE(Eventually([&] { return companion.WindowExists(); }));

  const pid_t second = StartCstdr();
  EXPECT_EQ(WaitForExit(second), 0);
  EXPECT_TRUE(LogHas("another companion already watches this home"));
  EXPECT_TRUE(companion.WindowExists());

  companion.Post(ports::kCompanionShutdown);
  EXPECT_EQ(WaitForExit(first), 0);
}

TEST_F(CompanionWatchdog, ARuntimeFolderThatOthersCanWriteInKeepsTheCompanionFromStarting) {
  ::chmod(runtime.c_str(), 0777);
  StartSuite();
  const pid_t cstdr = StartCstdr();
  EXPECT_EQ(WaitForExit(cstdr), 1);
  EXPECT_TRUE(LogHas("others can write in it"));
  EXPECT_TRUE(LogHas("the companion does not start"));
  EXPECT_TRUE(fs::is_empty(runtime));
}

// Runs `body` in a child process as another user; its exit status, or -1.
int AsOtherUser(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(4242) != 0 || ::setuid(4242) != 0) ::_exit(100);
    ::_exit(body());
  }
  int raw = 0;
  if (pid < 0 || ::waitpid(pid, &raw, 0) != pid || !WIFEXITED(raw)) return -1;
  return WEXITSTATUS(raw);
}

// Connects to a local socket at `path` and offers `line` (the other end may already
// have dropped the connection): 0 once connected.
int Post(const std::string& path, const std::string& line) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 101;
  [[maybe_unused]] const ssize_t sent = ::send(fd, line.data(), line.size(), MSG_NOSIGNAL);
  return 0;
}

TEST_F(CompanionWatchdog, AnotherUserCanNeitherDismissTheCompanionNorPoseAsIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
  StartSuite();
  const pid_t cstdr = StartCstdr();
  ASSERT_TRUE(Eventually([&] { return companion.WindowExists(); }));

  // Even with the folder and the socket opened to everyone, the goodbye of another user
  // does not end the companion: it still restarts the suite.
  ::chmod(root.path().c_str(), 0755);
  ::chmod(runtime.c_str(), 0777);
  ::chmod(paths.CompanionSocket().c_str(), 0777);
  const ports::CompanionMessage& bye = ports::kCompanionShutdown;
  const std::string goodbye = "POST " + std::to_string(bye.message) + " " +
                              std::to_string(bye.wParam) + " " + std::to_string(bye.lParam) + "\n";
  EXPECT_EQ(AsOtherUser([&] { return Post(paths.CompanionSocket().string(), goodbye); }), 0);
  ASSERT_TRUE(Eventually([&] { return LogHas("refused a connection from another user"); }));
  KillSuite();
  ASSERT_TRUE(WaitForStart(2));
  companion.Post(ports::kCompanionShutdown);
  EXPECT_EQ(WaitForExit(cstdr), 0);

  // A program of another user listening where the companion would: no companion there.
  ASSERT_TRUE(Eventually([&] { return !fs::exists(paths.CompanionSocket()); }));
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t impostor = ::fork();
  if (impostor == 0) {
    if (::setgid(4242) != 0 || ::setuid(4242) != 0) ::_exit(100);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, paths.CompanionSocket().c_str(), sizeof address.sun_path - 1);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0)
      ::_exit(101);
    [[maybe_unused]] const ssize_t said = ::write(ready[1], "r", 1);
    ::pause();
    ::_exit(0);
  }
  char r = 0;
  ASSERT_EQ(::read(ready[0], &r, 1), 1);
  EXPECT_FALSE(companion.WindowExists());
  ::kill(impostor, SIGKILL);
  ::waitpid(impostor, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST(Cstdr, RefusesACommandLineItDoesNotKnow) {
  const std::string h = "/tmp/h";
  const std::vector<std::vector<std::string>> lines = {
      {},
      {"START"},
      {"START", "--home", h},
      {"start", "--home", h, "--suite", "/bin/true"},
      {"START", "--home", h, "--suite", "/bin/true", "--colour", "red"},
      {"START", "--home", h, "--suite"},
  };
  for (const auto& args : lines) {
    const auto result = testing::RunProgram(kCstdr.string(), args);
    EXPECT_EQ(result.exitStatus, 2) << args.size();
    EXPECT_NE(result.err.find("usage: cstdr START"), std::string::npos);
  }
}

}  // namespace
}  // namespace pelorin
