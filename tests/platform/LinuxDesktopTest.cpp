#include "linux/LinuxDesktop.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "platform/ScopedEnvironmentVariable.h"
#include "support/TempDir.h"

namespace pelorin::lnx {
namespace {

namespace fs = std::filesystem;
using ports::ProcessPriority;
using testing::ReadBytes;
using testing::ScopedEnvironmentVariable;
using testing::TempDir;
using testing::WriteBytes;

const fs::path kProgram = "/opt/pelorin/bin/pelorin";

class LinuxDesktopAutostartTest : public ::testing::Test {
 protected:
  LinuxDesktopAutostartTest() {
    fs::create_directories(defaultHome);
    fs::create_directories(otherHome);
  }

  TempDir temp;
  fs::path defaultHome = temp / "data/pelorin";
  fs::path otherHome = temp / "Office Home";
  ScopedEnvironmentVariable config{"XDG_CONFIG_HOME", (temp / "config").string()};
  fs::path autostartDir = temp / "config/autostart";
};

TEST_F(LinuxDesktopAutostartTest, WritesAnXdgAutostartEntryForTheInstalledProgram) {
  LinuxDesktop desktop(kProgram, defaultHome / "." / "", /*installed=*/true, defaultHome);
  EXPECT_EQ(desktop.AutostartFile(), autostartDir / "pelorin.desktop");
  EXPECT_FALSE(fs::exists(autostartDir));
  EXPECT_FALSE(desktop.AutostartExists());

  ASSERT_TRUE(desktop.WriteAutostart());  // the folder is made
  EXPECT_TRUE(desktop.AutostartExists());
  EXPECT_EQ(ReadBytes(autostartDir / "pelorin.desktop"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Pelorin\n"
            "Comment=Personal office suite\n"
            "Exec=/opt/pelorin/bin/pelorin\n"
            "Terminal=false\n"
            "X-GNOME-Autostart-enabled=true\n");
}

TEST_F(LinuxDesktopAutostartTest, ExecNamesAnOtherHomeQuotedAndEscaped) {
  const fs::path oddHome = temp / "100% a$b\\c`d\"e";
  fs::create_directories(oddHome);
  const std::string t = temp.path().string();
  const struct {
    fs::path program, home;
    std::string exec;
  } cases[] = {
      {kProgram, otherHome, "Exec=/opt/pelorin/bin/pelorin --home \"" + t + "/Office Home\""},
      {"/opt/My Apps/pelorin", defaultHome, "Exec=\"/opt/My Apps/pelorin\""},
      // Inside quotes '$', '`', '"' and '\' take a backslash, which the desktop file
      // doubles like every backslash; '%' doubles as it is no field code.
      {kProgram, oddHome,
       "Exec=/opt/pelorin/bin/pelorin --home \"" + t + "/100%% a\\\\$b\\\\\\\\c\\\\`d\\\\\"e\""},
  };
  for (const auto& c : cases) {
    LinuxDesktop desktop(c.program, c.home, /*installed=*/true, defaultHome);
    ASSERT_TRUE(desktop.WriteAutostart()) << c.exec;
    const std::string entry = ReadBytes(desktop.AutostartFile());
    EXPECT_NE(entry.find("\n" + c.exec + "\n"), std::string::npos) << entry;
  }
}

TEST_F(LinuxDesktopAutostartTest, RefusedWritesLeaveNothingBehind) {
  LinuxDesktop uninstalled(kProgram, defaultHome, /*installed=*/false, defaultHome);
  EXPECT_FALSE(uninstalled.WriteAutostart());
  LinuxDesktop lineBreak(kProgram, temp / "two\nlines", /*installed=*/true, defaultHome);
  EXPECT_FALSE(lineBreak.WriteAutostart());
  EXPECT_FALSE(fs::exists(temp / "config"));

  // The configuration folder is a file: the folder cannot be made.
  WriteBytes(temp / "config", "not a folder");
  LinuxDesktop blocked(kProgram, defaultHome, /*installed=*/true, defaultHome);
  EXPECT_FALSE(blocked.WriteAutostart());
  EXPECT_FALSE(blocked.AutostartExists());
  EXPECT_EQ(ReadBytes(temp / "config"), "not a folder");
}

TEST(LinuxDesktop, AutostartFolderFallsBackToTheHomesConfig) {
  TempDir temp;
  ScopedEnvironmentVariable home("HOME", temp.path().string());
  for (const std::optional<std::string>& config :
       {std::optional<std::string>(), std::optional<std::string>(""),
        std::optional<std::string>("relative/config")}) {
    ScopedEnvironmentVariable xdg("XDG_CONFIG_HOME", config);
    LinuxDesktop desktop(kProgram, temp.path(), true, temp.path());
    EXPECT_EQ(desktop.AutostartFile(), temp / ".config/autostart/pelorin.desktop")
        << config.value_or("(unset)");
  }
}

// Runs `body` in a child process, so that priorities change there and never in the
// test program; returns its exit code (0 when every check held).
int InChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

int NiceOf(pid_t thread) {
  errno = 0;
  return ::getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
}

TEST(LinuxDesktop, PriorityChangesEveryThread) {
  if (::geteuid() != 0) GTEST_SKIP() << "raising the priority needs root";
  EXPECT_EQ(InChild([] {
              std::atomic<pid_t> worker{0};
              std::atomic<bool> stop{false};
              std::thread thread([&] {
                worker = ::gettid();
                while (!stop)
                  ::usleep(1000);
              });
              while (worker == 0)
                ::usleep(1000);
              LinuxDesktop desktop(kProgram, "/", true, "/");
              int failed = 0;
              const std::pair<ProcessPriority, int> steps[] = {{ProcessPriority::Idle, 19},
                                                               {ProcessPriority::High, -10},
                                                               {ProcessPriority::Normal, 0},
                                                               {ProcessPriority::Idle, 19},
                                                               {ProcessPriority::Normal, 0}};
              for (const auto& [priority, nice] : steps) {
                if (!desktop.SetPriority(priority)) failed = 1;
                if (NiceOf(0) != nice || NiceOf(worker) != nice) failed = 2;
              }
              stop = true;
              thread.join();
              return failed;
            }),
            0);
}

TEST(LinuxDesktop, RefusedPriorityLeavesItAsItWas) {
  EXPECT_EQ(InChild([] {
              // An ordinary user without the right to raise priorities.
              const rlimit none{0, 0};
              ::setrlimit(RLIMIT_NICE, &none);
              if (::geteuid() == 0 && ::setuid(65534) != 0) return 1;
              LinuxDesktop desktop(kProgram, "/", true, "/");
              if (!desktop.SetPriority(ProcessPriority::Idle) || NiceOf(0) != 19) return 2;
              if (desktop.SetPriority(ProcessPriority::Normal) || NiceOf(0) != 19) return 3;
              if (desktop.SetPriority(ProcessPriority::High) || NiceOf(0) != 19) return 4;
              return 0;
            }),
            0);
}

}  // namespace
}  // namespace pelorin::lnx
