#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimDialogs.h"
#include "sim/SimLog.h"
#include "storage/Custodo.h"
#include "storage/Scrambler.h"
#include "storage/SettingsFile.h"
#include "storage/SuiteHome.h"
#include "storage/SuiteLayout.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"
#include "tools/Pelorinctl.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::Ctl;
using testing::ProgramResult;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Scrambled(std::string_view plain) {
  return ScrambleBlock(plain, 857);
}

TEST(Pelorinctl, IniCommandsReadAndChangeAFile) {
  TempDir dir;
  const std::string file = (dir / "run.hif").string();
  WriteBytes(file,
             "; kept\r\n[SYSTEM]\r\nCount=0x10\r\nName = \"quoted\" \r\n[0]\r\n[1]\r\n[3]\r\n");

  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{"ini", "get", file, "system", "name"}, 0, "quoted\n"},
      {{"ini", "get", file, "SYSTEM", "Missing", "dflt"}, 0, "dflt\n"},
      {{"ini", "get", file, "SYSTEM", "Missing"}, 0, "\n"},
      {{"ini", "get-int", file, "SYSTEM", "Count", "7"}, 0, "16\n"},
      {{"ini", "get-int", file, "SYSTEM", "Name", "7"}, 0, "7\n"},
      {{"ini", "get-bool", file, "SYSTEM", "Count", "0"}, 0, "1\n"},
      {{"ini", "list-length", file}, 0, "2\n"},
      {{"ini", "get-int", file, "SYSTEM", "Count", "seven"}, 2, ""},
      {{"ini", "get", file}, 2, ""},
      {{"ini", "frobnicate", file, "a", "b"}, 2, ""},
      {{"ini", "get", (dir / "absent.hif").string(), "S", "K", "d"}, 0, "d\n"},
      {{"ini", "get", dir.path().string(), "S", "K"}, 1, ""},  // a folder: unreadable
  };
  for (const auto& c : cases) {
    const auto r = Ctl(c.args);
    EXPECT_EQ(r.exitStatus, c.status) << c.args[1] << " " << c.args.back() << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[1] << " " << c.args.back();
  }

  EXPECT_EQ(Ctl({"ini", "set", file, "SYSTEM", "Title", "Привет"}).exitStatus, 0);
  EXPECT_EQ(Ctl({"ini", "delete-key", file, "SYSTEM", "Count"}).exitStatus, 0);
  EXPECT_EQ(Ctl({"ini", "erase-section", file, "1"}).exitStatus, 0);
  EXPECT_EQ(ReadBytes(file),
            "; kept\r\n[SYSTEM]\r\nName = \"quoted\" \r\nTitle=\xCF\xF0\xE8\xE2\xE5\xF2\r\n"
            "[0]\r\n[3]\r\n");
  EXPECT_EQ(Ctl({"ini", "get", file, "SYSTEM", "Title"}).out, "Привет\n");
}

TEST(Pelorinctl, RefusesWhatCannotBeStoredAndReportsFailedWrites) {
  TempDir dir;
  WriteBytes(dir / "blocker", "a file, not a folder");
  const std::string plain = (dir / "a.hif").string();
  EXPECT_EQ(Ctl({"ini", "set", plain, "S", "K", "two\nlines"}).exitStatus, 2);
  EXPECT_EQ(Ctl({"ini", "set", plain, "S", "K=", "v"}).exitStatus, 2);
  EXPECT_EQ(Ctl({"ini", "set", (dir / "x.hf").string(), "S", "K", "v"}).exitStatus, 2);
  EXPECT_FALSE(fs::exists(plain));
  EXPECT_FALSE(fs::exists(dir / "x.hf"));

  const auto r = Ctl({"ini", "set", (dir / "blocker/a.hif").string(), "S", "K", "v"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_NE(r.err.find("Unable to write to"), std::string::npos);
}

TEST(Pelorinctl, ScrambleAndTextCipherRoundTripAndFailWithoutTouchingTheTarget) {
  TempDir dir;
  WriteBytes(dir / "plain", "[SYSTEM]\r\nFILEOK=OK\r\n");
  ASSERT_EQ(Ctl({"scramble", (dir / "plain").string(), (dir / "s.hf").string()}).exitStatus, 0);
  EXPECT_EQ(ReadBytes(dir / "s.hf"), Scrambled("[SYSTEM]\r\nFILEOK=OK\r\n"));
  ASSERT_EQ(Ctl({"scramble", (dir / "plain").string(), (dir / "k.hf").string(), "1113"}).exitStatus,
            0);  // 1113 = 857 + 256: the same bytes
  EXPECT_EQ(ReadBytes(dir / "k.hf"), ReadBytes(dir / "s.hf"));
  ASSERT_EQ(Ctl({"unscramble", (dir / "s.hf").string(), (dir / "back").string()}).exitStatus, 0);
  EXPECT_EQ(ReadBytes(dir / "back"), ReadBytes(dir / "plain"));

  std::string damaged = ReadBytes(dir / "s.hf");
  damaged[4] ^= 1;
  WriteBytes(dir / "bad.hf", damaged);
  WriteBytes(dir / "target", "keep me");
  EXPECT_EQ(Ctl({"unscramble", (dir / "bad.hf").string(), (dir / "target").string()}).exitStatus,
            1);
  EXPECT_EQ(Ctl({"unscramble", (dir / "none.hf").string(), (dir / "target").string()}).exitStatus,
            1);
  EXPECT_EQ(ReadBytes(dir / "target"), "keep me");
  EXPECT_EQ(Ctl({"scramble", (dir / "plain").string(), (dir / "t").string(), "70000"}).exitStatus,
            2);

  ASSERT_EQ(
      Ctl({"encode-text", (dir / "plain").string(), (dir / "enc").string(), "ключ"}).exitStatus, 0);
  EXPECT_NE(ReadBytes(dir / "enc"), ReadBytes(dir / "plain"));
  ASSERT_EQ(Ctl({"decode-text", (dir / "enc").string(), (dir / "dec").string(), "ключ"}).exitStatus,
            0);
  EXPECT_EQ(ReadBytes(dir / "dec"), ReadBytes(dir / "plain"));
  EXPECT_EQ(Ctl({"decode-text", (dir / "none").string(), (dir / "dec").string(), "k"}).exitStatus,
            1);
}

TEST(Pelorinctl, HfCatPrintsUtf8WithLfAndRefusesDamage) {
  TempDir dir;
  WriteBytes(dir / "main.hf", Scrambled("[SYSTEM]\r\nName=\xC8\xE2\xE0\xED\r\n"));
  const auto r = Ctl({"hf", "cat", (dir / "main.hf").string()});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "[SYSTEM]\nName=Иван\n");
  WriteBytes(dir / "short.hf", "ab");
  EXPECT_EQ(Ctl({"hf", "cat", (dir / "short.hf").string()}).exitStatus, 1);
}

TEST(Pelorinctl, HfSetOnALooseFileLeavesNoPlainFileBehind) {
  TempDir dir;
  WriteBytes(dir / "w.hf", Scrambled("[SYSTEM]\r\nFILEOK=OK\r\n"));
  WriteBytes(dir / "w.hif", "the user's own file");
  ASSERT_EQ(Ctl({"hf", "set", (dir / "w.hf").string(), "CTRL", "Vol", "1"}).exitStatus, 0);
  EXPECT_EQ(UnscrambleBlock(ReadBytes(dir / "w.hf"), 857),
            "[SYSTEM]\r\nFILEOK=OK\r\n[CTRL]\r\nVol=1\r\n");
  EXPECT_EQ(ReadBytes(dir / "w.hif"), "the user's own file");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

// A home with one profile whose main.hf switches Custodo on: every change made with
// the tool is backed up as the suite would, so the next check finds no damage.
TEST(Pelorinctl, ChangesInsideAHomeRefreshTheBackups) {
  TempDir dir;
  sim::SimLog log;
  const fs::path home = dir / "home";
  ASSERT_EQ(SeedHome(home, dir / "nothing-delivered", log), SeedResult::Seeded);
  const SuiteLayout layout(home);
  const fs::path profile = layout.ProfileDir("Master");
  WriteBytes(profile / "main.hf", Scrambled("[SYSTEM]\r\nFILEOK=OK\r\nCustodo=1\r\n"));
  fs::create_directories(layout.ProfileBackupDir("Master"));

  ASSERT_EQ(Ctl({"ini", "set", (profile / "run.hif").string(), "SYSTEM", "Count", "3"}).exitStatus,
            0);
  ASSERT_EQ(Ctl({"hf", "set", (profile / "main.hf").string(), "STARTUP", "Block", "0"}).exitStatus,
            0);
  ASSERT_EQ(Ctl({"hf", "set", layout.SystemSettingsFile().string(), "System", "Installed", "1"})
                .exitStatus,
            0);
  EXPECT_FALSE(fs::exists(profile / "main.hif"));
  EXPECT_FALSE(fs::exists(layout.SystemSettingsCopy()));
  EXPECT_EQ(ReadBytes(layout.ProfileBackupDir("Master") / "run.bk"),
            ReadBytes(profile / "run.hif"));
  EXPECT_EQ(ReadBytes(layout.BackupDir() / "pelorin.bk"), ReadBytes(layout.SystemSettingsFile()));

  sim::SimDialogs dialogs;  // any question would fail the checks below
  Custodo custodo(layout, "Master", dialogs, log);
  custodo.SetCustodo(true);
  EXPECT_TRUE(custodo.CheckSettingsFile("run"));
  EXPECT_TRUE(custodo.CheckScrambledFile("main"));
  EXPECT_TRUE(dialogs.Asked().empty());
  // A hand edit that bypasses the tool is still caught.
  WriteBytes(profile / "run.hif", "[SYSTEM]\r\nCount=9\r\n");
  dialogs.ExpectContaining("\"run.hif\" is damaged", ports::DialogAnswer::No);
  EXPECT_FALSE(custodo.CheckSettingsFile("run"));
}

// Names that the suite's backup refuses, empty names and folders: every command ends
// with a message and a failure status, never an abort, and changes nothing.
TEST(Pelorinctl, HostileNamesGiveAMessageAndAStatus) {
  TempDir dir;
  sim::SimLog log;
  const fs::path home = dir / "home";
  ASSERT_EQ(SeedHome(home, dir / "nothing-delivered", log), SeedResult::Seeded);
  const SuiteLayout layout(home);
  const fs::path profile = layout.ProfileDir("Master");
  WriteBytes(profile / "main.hf", Scrambled("[SYSTEM]\r\nFILEOK=OK\r\nCustodo=1\r\n"));
  const std::string p = profile.string();

  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"ini", "set", p + "/..hif", "S", "K", "v"}, 1},
      {{"ini", "set", p + "/.hif", "S", "K", "v"}, 1},
      {{"ini", "delete-key", p + "/..hif", "S", "K"}, 1},
      {{"ini", "erase-section", p + "/..hif", "S"}, 1},
      {{"ini", "set", "", "S", "K", "v"}, 2},
      {{"ini", "get", "", "S", "K"}, 2},
      {{"ini", "set", p, "S", "K", "v"}, 1},  // a folder
      {{"hf", "set", p + "/..hf", "S", "K", "v"}, 1},
      {{"hf", "set", p + "/.hf", "S", "K", "v"}, 1},
      {{"hf", "set", p + "/notes.txt", "S", "K", "v"}, 1},
      {{"hf", "set", p + "/Main.HF", "S", "K", "v"}, 1},
      {{"hf", "set", "", "S", "K", "v"}, 1},
      {{"hf", "set", p, "S", "K", "v"}, 1},
      {{"hf", "cat", p + "/..hf"}, 1},
      {{"hf", "cat", ""}, 1},
      {{"hf", "cat", p}, 1},
      {{"scramble", "", ""}, 1},
      {{"scramble", (profile / "main.hf").string(), p}, 1},
      {{"unscramble", (profile / "main.hf").string(), "/"}, 1},
      {{"unscramble", p + "/..hf", p + "/x"}, 1},
      {{"encode-text", p, p + "/x", "k"}, 1},
      {{"decode-text", p + "/..hf", "", "k"}, 1},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.args)
      shown += "[" + a + "] ";
    const auto r = Ctl(c.args);
    EXPECT_EQ(r.exitStatus, c.status) << shown << r.err;
    EXPECT_FALSE(r.err.empty()) << shown;
  }
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(profile))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"main.hf"});
}

}  // namespace
}  // namespace pelorin

namespace pelorin {
namespace {

TEST(Pelorinctl, HelpShowsTheUsageOfAllOrOneCommand) {
  const auto all = Ctl({"--help"});
  EXPECT_EQ(all.exitStatus, 0);
  EXPECT_NE(all.out.find("pelorinctl hf set FILE.hf SECTION KEY VALUE"), std::string::npos);
  EXPECT_EQ(Ctl({"help"}).out, all.out);

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"help", "ini"}, std::vector<std::string>{"ini", "--help"}}) {
    const auto one = Ctl(args);
    EXPECT_EQ(one.exitStatus, 0);
    EXPECT_NE(one.out.find("pelorinctl ini get-bool FILE SECTION KEY DEFAULT"), std::string::npos);
    EXPECT_EQ(one.out.find("scramble"), std::string::npos);
  }
}

TEST(Pelorinctl, AUsageErrorNamesWhatWasWrongAndShowsThatCommandsUsage) {
  struct Case {
    std::vector<std::string> args;
    const char* said;
    const char* usage;  // a line of the usage shown after it
  };
  const std::vector<Case> cases = {
      {{}, "no command given", "pelorinctl hf cat FILE.hf"},
      {{"frob"}, "unknown command \"frob\"", "pelorinctl ini list-length FILE"},
      {{"help", "frob"}, "unknown command \"frob\"", "pelorinctl ini list-length FILE"},
      {{"ini"}, "ini needs an action and a file", "pelorinctl ini set FILE"},
      {{"ini", "fetch", "f"}, "unknown ini action \"fetch\"", "pelorinctl ini get FILE"},
      {{"ini", "get", "f", "S"},
       "too few arguments for ini get: 2 given",
       "pelorinctl ini get FILE SECTION KEY [DEFAULT]"},
      {{"ini", "list-length", "f", "x"},
       "too many arguments for ini list-length: 2 given",
       "pelorinctl ini list-length FILE"},
      {{"ini", "get", ""}, "ini get: FILE is empty", "pelorinctl ini get FILE"},
      {{"ini", "get-int", "f", "S", "K", "ten"},
       "ini get-int: DEFAULT must be a whole number, not \"ten\"",
       "pelorinctl ini get-int"},
      {{"ini", "get-bool", "f", "S", "K", "yes"},
       "ini get-bool: DEFAULT must be 1, 0, true or false",
       "pelorinctl ini get-bool"},
      {{"hf", "set", "f.hf", "S"}, "too few arguments for hf set: 2 given", "pelorinctl hf set"},
      {{"scramble", "a", "b", "99999"},
       "scramble: KEY must be a number from 0 to 65535, not \"99999\"",
       "pelorinctl scramble SRC DST [KEY]"},
      {{"decode-text", "a", "b"},
       "too few arguments for decode-text: 2 given",
       "pelorinctl decode-text SRC DST PASSPHRASE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    const auto r = Ctl(c.args);
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err.rfind(std::string("pelorinctl: ") + c.said, 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.usage), std::string::npos) << r.err;
  }
  // One action's error shows that action's line alone.
  const auto r = Ctl({"ini", "set", "f"});
  EXPECT_EQ(r.err.find("ini get"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace pelorin
