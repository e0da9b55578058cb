// The program's command line as a Linux user meets it: help and version, usage errors
// that name what was wrong, and a start without a display that says so. None of these
// seeds a home or starts a suite.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ScopedEnvironmentVariable.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::ScopedEnvironmentVariable;
using ::testing::StartsWith;
using testing::TempDir;

const std::string kPelorin = PELORIN_BUILD_DIR "/bin/pelorin";

class ProgramCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
  }

  testing::ProgramResult Pelorin(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home.string()});
    return testing::RunProgram(kPelorin, args);
  }

  TempDir root;
  fs::path home = root / "home";
  fs::path runtime = root / "run";
  ScopedEnvironmentVariable runtimeVariable{"XDG_RUNTIME_DIR", runtime.string()};
  ScopedEnvironmentVariable platform{"QT_QPA_PLATFORM", "offscreen"};
};

TEST_F(ProgramCommandLine, HelpAndVersionPrintAndEnd) {
  const auto help = Pelorin({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_THAT(help.out, HasSubstr("usage: pelorin [PELORIN.EXE] [--home DIR]"));
  EXPECT_THAT(help.out, HasSubstr("--version"));
  EXPECT_EQ(Pelorin({"-h"}).out, help.out);

  const auto version = Pelorin({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_THAT(version.out, StartsWith("pelorin 1.0 R4\nbuild 1.0.4 "));
  EXPECT_FALSE(fs::exists(home));
}

TEST_F(ProgramCommandLine, UsageErrorsNameWhatWasWrongAndStartNothing) {
  struct Case {
    std::vector<std::string> args;
    const char* said;
  };
  const std::vector<Case> cases = {
      {{"stray"}, "unexpected argument \"stray\""},
      {{"PELORIN.EXE", "pelorin.exe"}, "unexpected argument \"pelorin.exe\""},
      {{"-x"}, "unknown option -x"},
      {{"--homes", "x"}, "unknown option --homes"},
      {{"--backend"}, "--backend needs a value (linux or sim)"},
      {{"--backend", "--measure-startup"}, "--backend needs a value"},
      {{"--backend=wine"}, "unknown backend \"wine\""},
      {{"--command", "abc"}, "--command takes a number, not \"abc\""},
      {{"--restore-fd", "-1"}, "--restore-fd takes a file descriptor"},
      {{"--measure-startup=1"}, "--measure-startup takes no value"},
      {{"--sim"}, "--sim needs an event"},
      {{"--command", "116", "--sim", "state"}, "--command and --sim cannot be given together"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    const auto result = Pelorin(c.args);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_THAT(result.err, StartsWith(std::string("pelorin: ") + c.said));
    EXPECT_THAT(result.err, HasSubstr("usage: pelorin"));
    EXPECT_EQ(result.out, "");
  }
  // The home given last and the value after "=" count; nothing was made anywhere.
  const auto last = testing::RunProgram(
      kPelorin, {"--home", (root / "other").string(), "--home=" + home.string(), "--sim", "x"});
  EXPECT_EQ(last.exitStatus, 1);
  EXPECT_THAT(last.err, HasSubstr("no suite runs on " + home.string()));
  EXPECT_FALSE(fs::exists(home));
  EXPECT_FALSE(fs::exists(root / "other"));
}

TEST_F(ProgramCommandLine, AStartWithoutADisplaySaysSoAndTouchesNoFile) {
  const ScopedEnvironmentVariable noPlatform("QT_QPA_PLATFORM", std::nullopt);
  const ScopedEnvironmentVariable noWayland("WAYLAND_DISPLAY", std::nullopt);
  {
    const ScopedEnvironmentVariable noDisplay("DISPLAY", std::nullopt);
    const auto result = Pelorin({"--backend", "sim"});
    EXPECT_EQ(result.exitStatus, 1);  // not killed by an abort
    EXPECT_THAT(result.err, HasSubstr("there is no display to show the suite on"));
    EXPECT_FALSE(fs::exists(home));
  }
  // A display that does not answer: Qt's failure becomes a message and status 1, before
  // the home is seeded.
  const ScopedEnvironmentVariable deadDisplay("DISPLAY", ":4097");
  const auto result = Pelorin({"--backend", "sim"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, HasSubstr("Qt could not open the display \":4097\""));
  EXPECT_FALSE(fs::exists(home / "pelorin.hf"));
  EXPECT_FALSE(fs::exists(home / "Profiles"));
}

}  // namespace
}  // namespace pelorin
