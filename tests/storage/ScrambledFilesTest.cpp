#include "storage/ScrambledFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimDialogs.h"
#include "sim/SimLog.h"
#include "storage/FileReplacements.h"
#include "storage/Scrambler.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

constexpr const char* kProfile = "Master";
constexpr std::uint16_t kKey = SuiteLayout::kScrambledFileKey;
constexpr const char* kMarker = "[SYSTEM]\r\nFILEOK=OK\r\n";
constexpr const char* kRestorationFailed =
    "Restoration of file is fail. Continue of execution is not possible.";

class ScrambledFilesTest : public ::testing::Test {
 protected:
  ScrambledFilesTest() {
    fs::create_directories(layout.ProfileDataDir(kProfile));
    fs::create_directories(layout.ProfileBackupDir(kProfile));
  }

  fs::path ProfileFile(const std::string& name) const { return layout.ProfileDir(kProfile) / name; }
  // The plain text held by a scrambled file, or "<unreadable>".
  static std::string Unscrambled(const fs::path& file) {
    return UnscrambleBlock(ReadBytes(file), kKey).value_or("<unreadable>");
  }
  std::vector<fs::path> PlainTwinsLeft() const {
    std::vector<fs::path> left;
    for (const fs::path& dir : {layout.ProgramDir(), layout.ProfileDir(kProfile)}) {
      for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".hif") left.push_back(entry.path());
      }
    }
    return left;
  }

  TempDir home;
  SuiteLayout layout{home.path()};
  sim::SimDialogs dialogs;
  sim::SimLog log;
  Custodo custodo{layout, kProfile, dialogs, log};
  int quits = 0;
  ScrambledFiles files{layout, kProfile, dialogs, log, custodo, [this] { ++quits; }};
};

TEST_F(ScrambledFilesTest, EmptyProfileFilesHoldOnlyTheMarker) {
  WriteBytes(ProfileFile("main.hif"), "[STALE]\r\nKey=1\r\n");
  WriteBytes(ProfileFile("wimcdax2.hf"), "an old damaged file");
  ASSERT_TRUE(files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile)));
  for (const char* name : {"main.hf", "wimcdax2.hf", "wimpcax2.hf"}) {
    EXPECT_EQ(Unscrambled(ProfileFile(name)), kMarker) << name;
  }
  EXPECT_TRUE(PlainTwinsLeft().empty());
}

TEST_F(ScrambledFilesTest, ChangingOneKeyKeepsMainValidAndLeavesNoTwin) {
  custodo.SetCustodo(true);
  files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile));
  ASSERT_TRUE(files.ChangeScrambled(
      "main", [](SettingsFile& main) { main.WriteBool("SYSTEM", "Custodo", true); }));
  EXPECT_EQ(Unscrambled(ProfileFile("main.hf")), "[SYSTEM]\r\nFILEOK=OK\r\nCustodo=1\r\n");
  EXPECT_TRUE(PlainTwinsLeft().empty());
  // Backed up after the change.
  const std::string saved = ReadBytes(ProfileFile("main.hf"));
  EXPECT_EQ(ReadBytes(layout.ProfileBackupDir(kProfile) / "main.bk"), saved);
  EXPECT_EQ(SettingsFile(SuiteLayout::BackupDatabase(layout.ProfileBackupDir(kProfile)))
                .ReadInteger("HF", "main.hf", 0),
            ByteSum(saved));

  bool custodoOn = false;
  ASSERT_TRUE(files.ReadScrambled("main", [&](const SettingsFile& main) {
    custodoOn = main.ReadBool("SYSTEM", "Custodo", false);
  }));
  EXPECT_TRUE(custodoOn);
  EXPECT_TRUE(PlainTwinsLeft().empty());
  EXPECT_EQ(quits, 0);
}

TEST_F(ScrambledFilesTest, TwinIsDeletedWhenTheCallbackRaises) {
  files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile));
  WriteBytes(layout.SystemSettingsFile(), ScrambleBlock(kMarker, kKey));
  const std::string main = ReadBytes(ProfileFile("main.hf"));
  const auto failingWrite = [&](SettingsFile& file) {
    file.WriteString("SYSTEM", "Half", "done");
    throw SettingsWriteError(file.FileName());
  };
  EXPECT_THROW(files.ChangeScrambled("main", failingWrite), SettingsWriteError);
  EXPECT_THROW(files.ChangeSystemSettings(failingWrite), SettingsWriteError);
  EXPECT_THROW(
      files.ReadScrambled("main", [](const SettingsFile&) { throw std::runtime_error("x"); }),
      std::runtime_error);
  EXPECT_EQ(ReadBytes(ProfileFile("main.hf")), main);  // the half change is not saved
  EXPECT_EQ(Unscrambled(layout.SystemSettingsFile()), kMarker);
  EXPECT_TRUE(PlainTwinsLeft().empty());
}

TEST_F(ScrambledFilesTest, RefusedSaveIsReportedAndLeavesNoTwin) {
  files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile));
  // While the twin is open, main.hf turns into a directory that no file can replace.
  EXPECT_THROW(files.ChangeScrambled("main",
                                     [&](SettingsFile& main) {
                                       main.WriteString("SYSTEM", "Key", "1");
                                       fs::remove(ProfileFile("main.hf"));
                                       fs::create_directories(ProfileFile("main.hf") / "x");
                                     }),
               SettingsWriteError);
  EXPECT_TRUE(PlainTwinsLeft().empty());
  EXPECT_FALSE(fs::exists(layout.ProfileBackupDir(kProfile) / "main.bk"));
}

// A main.hf that does not unscramble: what the user is asked and told, in order.
TEST_F(ScrambledFilesTest, DamagedMainEndsTheSuite) {
  const std::string offer =
      "Protected file \"main.hf\" is damaged, but backup copy of it found in Custodo database. "
      "Restore?";
  const std::string noBackup =
      "Protected file \"main.hf\" is damaged. No backup copies found. Restoration is not "
      "possible.";
  const std::string fatal =
      "Warning! Protected file \"main.hf\" is damaged! Continue of execution is not possible!";
  struct Dialog {
    std::string text;
    DialogAnswer answer;
  };
  struct Case {
    const char* what;
    bool custodoOn;
    bool backupExists;
    std::vector<Dialog> dialogs;
    bool restored;
  };
  const std::vector<Case> cases = {
      {"backup restored: quits quietly, read at next start",
       true,
       true,
       {{offer, DialogAnswer::Yes}},
       true},
      {"backup declined",
       true,
       true,
       {{offer, DialogAnswer::No}, {fatal, DialogAnswer::Ok}},
       false},
      {"no backup", true, false, {{noBackup, DialogAnswer::Ok}, {fatal, DialogAnswer::Ok}}, false},
      {"Custodo off: nothing to restore",
       false,
       true,
       {{kRestorationFailed, DialogAnswer::Ok}},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    custodo.SetCustodo(true);
    files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile));
    custodo.BackupScrambledFile("main");
    if (!c.backupExists) fs::remove(layout.ProfileBackupDir(kProfile) / "main.bk");
    std::string damaged = ReadBytes(ProfileFile("main.hf"));
    damaged[7] ^= 0x10;
    WriteBytes(ProfileFile("main.hf"), damaged);
    WriteBytes(ProfileFile("main.hif"), "[SYSTEM]\r\nLeft=by a crash\r\n");
    custodo.SetCustodo(c.custodoOn);
    for (const Dialog& d : c.dialogs)
      dialogs.Expect(d.text, d.answer);
    quits = 0;

    bool called = false;
    EXPECT_FALSE(files.ReadScrambled("main", [&](const SettingsFile&) { called = true; }));
    EXPECT_FALSE(called);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(dialogs.Pending(), 0U);
    EXPECT_EQ(dialogs.Asked().back().caption, "Pelorin Security System");
    EXPECT_EQ(Unscrambled(ProfileFile("main.hf")), c.restored ? kMarker : "<unreadable>");
    EXPECT_TRUE(PlainTwinsLeft().empty());
  }
}

TEST_F(ScrambledFilesTest, SystemSettingsChangeIsBackedUpAndLeavesNoCopy) {
  WriteBytes(layout.SystemSettingsFile(), ScrambleBlock(kMarker, kKey));
  ASSERT_TRUE(files.ChangeSystemSettings(
      [](SettingsFile& system) { system.WriteInteger("System", "ProfilesCount", 2); }));
  EXPECT_EQ(Unscrambled(layout.SystemSettingsFile()),
            "[SYSTEM]\r\nFILEOK=OK\r\nProfilesCount=2\r\n");
  EXPECT_EQ(ReadBytes(layout.BackupDir() / "pelorin.bk"), ReadBytes(layout.SystemSettingsFile()));
  EXPECT_TRUE(PlainTwinsLeft().empty());
}

TEST_F(ScrambledFilesTest, AChangeOfManyKeysWritesEachFileOnce) {
  WriteBytes(layout.SystemSettingsFile(), ScrambleBlock(kMarker, kKey));
  files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile));
  testing::FileReplacements inHome(layout.ProgramDir());
  testing::FileReplacements profile(layout.ProfileDir(kProfile));
  const auto writeMany = [](SettingsFile& file) {
    for (int i = 1; i <= 20; ++i)
      file.WriteInteger("Profile" + std::to_string(i), "Type", i);
  };
  ASSERT_TRUE(files.ChangeSystemSettings(writeMany));
  ASSERT_TRUE(files.ChangeScrambled("main", writeMany));
  // The plain copy is put in place by the unscramble and once more by the change.
  EXPECT_EQ(inHome.Of(layout.SystemSettingsCopy().filename().string()), 2);
  EXPECT_EQ(profile.Of("main.hif"), 2);
  EXPECT_EQ(inHome.Of("pelorin.hf"), 1);
  EXPECT_EQ(profile.Of("main.hf"), 1);
  ASSERT_TRUE(files.ReadScrambled("main", [](const SettingsFile& main) {
    EXPECT_EQ(main.ReadInteger("Profile20", "Type", 0), 20);
  }));
  EXPECT_TRUE(PlainTwinsLeft().empty());
}

TEST_F(ScrambledFilesTest, DamagedSystemSettingsAreOfferedTheirBackup) {
  const std::string offer =
      "Protected file \"pelorin.hf\" is lost or damaged, but backup copy of it found in Custodo "
      "database. Try to restore?";
  const std::string fatal =
      "Warning! Protected file \"pelorin.hf\" is damaged! Continue of execution is not possible!";
  struct Case {
    const char* what;
    std::string backup;  // empty: no backup copy
    DialogAnswer answer;
    std::vector<std::string> dialogs;
    bool opened;
  };
  const std::vector<Case> cases = {
      {"restored and read", ScrambleBlock(kMarker, kKey), DialogAnswer::Yes, {offer}, true},
      {"restore declined", ScrambleBlock(kMarker, kKey), DialogAnswer::No, {offer, fatal}, false},
      {"no backup", "", DialogAnswer::Ok, {fatal}, false},
      {"the backup is damaged too", "xyz", DialogAnswer::Yes, {offer, kRestorationFailed}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(layout.BackupDir() / "pelorin.bk");
    if (!c.backup.empty()) WriteBytes(layout.BackupDir() / "pelorin.bk", c.backup);
    WriteBytes(layout.SystemSettingsFile(), "damaged");
    WriteBytes(layout.SystemSettingsCopy(), "[System]\r\nLeft=by a crash\r\n");
    for (const std::string& text : c.dialogs) {
      dialogs.Expect(text, text == offer ? c.answer : DialogAnswer::Ok);
    }
    quits = 0;

    std::string fileOk;
    EXPECT_EQ(files.ReadSystemSettings([&](const SettingsFile& system) {
      fileOk = system.ReadString("SYSTEM", "FILEOK", "");
    }),
              c.opened);
    EXPECT_EQ(fileOk, c.opened ? "OK" : "");
    EXPECT_EQ(quits, c.opened ? 0 : 1);
    EXPECT_EQ(dialogs.Pending(), 0U);
    EXPECT_TRUE(PlainTwinsLeft().empty());
  }
}

TEST_F(ScrambledFilesTest, MissingSystemSettingsWithoutBackupEndTheSuite) {
  dialogs.Expect(
      "Warning! Protected file \"pelorin.hf\" is damaged! Continue of execution is not possible!",
      DialogAnswer::Ok);
  EXPECT_FALSE(files.OpenSystemSettings());
  EXPECT_EQ(quits, 1);
  EXPECT_FALSE(fs::exists(layout.SystemSettingsCopy()));
}

}  // namespace
}  // namespace pelorin
