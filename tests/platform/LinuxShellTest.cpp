#include "linux/LinuxShell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ScopedEnvironmentVariable.h"
#include "support/Eventually.h"
#include "support/TempDir.h"

namespace pelorin::lnx {
namespace {

namespace fs = std::filesystem;
using ports::ShowMode;
using testing::ScopedEnvironmentVariable;
using testing::TempDir;
using testing::WriteBytes;

struct Launch {
  std::string program;
  std::vector<std::string> arguments;
  std::string directory;
  friend bool operator==(const Launch&, const Launch&) = default;
};

std::ostream& operator<<(std::ostream& out, const Launch& launch) {
  out << launch.program << " [";
  for (const auto& argument : launch.arguments)
    out << "<" << argument << ">";
  return out << "] in " << launch.directory;
}

void WriteProgram(const fs::path& file) {
  WriteBytes(file, "#!/bin/sh\n");
  ::chmod(file.c_str(), 0755);
}

// A PATH of its own holding xdg-open, two of the calculators and a tool, and a work
// folder with a program, a document and a folder; the launches are recorded.
class LinuxShellTest : public ::testing::Test {
 protected:
  LinuxShellTest() {
    for (const char* name : {"xdg-open", "kcalc", "xcalc", "mytool"})
      WriteProgram(bin / name);
    WriteProgram(work / "run me.sh");
    WriteBytes(work / "notes.txt", "notes");
    fs::create_directories(work / "Photos");
  }

  LinuxShell Shell(bool starts = true) {
    return LinuxShell([this, starts](const QString& program, const QStringList& arguments,
                                     const QString& directory) {
      Launch launch{program.toStdString(), {}, directory.toStdString()};
      for (const QString& argument : arguments)
        launch.arguments.push_back(argument.toStdString());
      launches.push_back(launch);
      return starts;
    });
  }

  TempDir temp;
  fs::path bin = temp / "bin";
  fs::path work = temp / "work";
  ScopedEnvironmentVariable path{"PATH", (temp / "bin").string()};
  std::vector<Launch> launches;
};

TEST_F(LinuxShellTest, ProgramsStartAndEverythingElseGoesToXdgOpen) {
  const std::string w = work.string(), b = bin.string();
  const struct {
    std::string file, parameters, directory;
    Launch launch;
  } cases[] = {
      // Programs, by full name, by a name relative to the work folder, from PATH.
      {w + "/run me.sh", "-a \"two words\" 3", w, {w + "/run me.sh", {"-a", "two words", "3"}, w}},
      {"run me.sh", "", w, {w + "/run me.sh", {}, w}},
      {"mytool", "--list", w, {b + "/mytool", {"--list"}, w}},
      {"mytool", "", "", {b + "/mytool", {}, ""}},
      // A working folder that does not exist leaves the program in the current one.
      {"mytool", "", w + "/missing", {b + "/mytool", {}, ""}},
      // Documents, folders and addresses; their parameters have no place.
      {"notes.txt", "ignored", w, {b + "/xdg-open", {w + "/notes.txt"}, w}},
      {w + "/Photos", "", "", {b + "/xdg-open", {w + "/Photos"}, ""}},
      {"HTTPS://example.org/a b", "", "", {b + "/xdg-open", {"HTTPS://example.org/a b"}, ""}},
      {"http://example.org", "", w, {b + "/xdg-open", {"http://example.org"}, w}},
      {"mailto:someone@example.org", "", "", {b + "/xdg-open", {"mailto:someone@example.org"}, ""}},
      {"file:///etc/hostname", "", "", {b + "/xdg-open", {"file:///etc/hostname"}, ""}},
      // The Windows calculator: the first calculator of the list that PATH holds.
      {"CALC.exe", "", "", {b + "/kcalc", {}, ""}},
  };
  auto shell = Shell();
  for (const auto& c : cases) {
    launches.clear();
    EXPECT_TRUE(shell.Open(c.file, c.parameters, c.directory, ShowMode::Normal)) << c.file;
    EXPECT_EQ(launches, std::vector<Launch>{c.launch}) << c.file;
  }
}

TEST_F(LinuxShellTest, FalseWhenNothingCouldBeStarted) {
  auto shell = Shell();
  const std::string w = work.string();
  for (const std::string& file : {std::string(), std::string("missing.txt"),
                                  w + "/missing/notes.txt", std::string("notepad.exe")}) {
    EXPECT_FALSE(shell.Open(file, "", w, ShowMode::Normal)) << file;
  }
  EXPECT_TRUE(launches.empty());

  // No calculator and no xdg-open in PATH.
  fs::remove(bin / "kcalc");
  fs::remove(bin / "xcalc");
  fs::remove(bin / "xdg-open");
  for (const std::string& file :
       {std::string("calc.exe"), std::string("notes.txt"), std::string("https://example.org")}) {
    EXPECT_FALSE(shell.Open(file, "", w, ShowMode::Normal)) << file;
  }
  EXPECT_TRUE(launches.empty());

  // A start that fails.
  auto failing = Shell(/*starts=*/false);
  EXPECT_FALSE(failing.Open("mytool", "", w, ShowMode::Normal));
  EXPECT_EQ(launches.size(), 1u);
}

TEST_F(LinuxShellTest, TheCalculatorIsTheFirstKnownOneInPath) {
  const std::vector<std::string> known = {"gnome-calculator", "kcalc",         "galculator",
                                          "mate-calc",        "qalculate-gtk", "xcalc"};
  const auto shell = Shell();
  EXPECT_EQ(shell.FindCalculator().lookedFor, known);
  EXPECT_EQ(shell.FindCalculator().found, (bin / "kcalc").string());
  fs::remove(bin / "kcalc");
  EXPECT_EQ(shell.FindCalculator().found, (bin / "xcalc").string());
  fs::remove(bin / "xcalc");
  const ports::CalculatorSearch none = shell.FindCalculator();
  EXPECT_EQ(none.found, "");
  EXPECT_EQ(none.lookedFor, known);
}

TEST_F(LinuxShellTest, StartsARealDetachedProgram) {
  const fs::path marker = work / "started";
  WriteBytes(work / "touch.sh", "#!/bin/sh\necho \"$1\" > started\n");
  ::chmod((work / "touch.sh").c_str(), 0755);
  LinuxShell shell;
  ASSERT_TRUE(shell.Open("touch.sh", "\"hello there\"", work.string(), ShowMode::Minimized));
  testing::Eventually([&] { return !testing::ReadBytes(marker).empty(); });
  EXPECT_EQ(testing::ReadBytes(marker), "hello there\n");
  EXPECT_FALSE(shell.Open("/nonexistent/program", "", "", ShowMode::Normal));
}

}  // namespace
}  // namespace pelorin::lnx
