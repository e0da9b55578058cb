// What a home looks like on disk: who may read its folders and files, and what a save
// cut short leaves for the next start to remove.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/SimDialogs.h"
#include "sim/SimLog.h"
#include "storage/Custodo.h"
#include "storage/InterruptedSaves.h"
#include "storage/ScrambledFiles.h"
#include "storage/SettingsFile.h"
#include "storage/SuiteHome.h"
#include "support/FileModes.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::ModeOf;
using testing::ReadBytes;
using testing::TempDir;
using testing::Umask;
using testing::WriteBytes;

constexpr const char* kProfile = "Master";

// Every file and folder under `root`, relative to it, sorted.
std::vector<std::string> Tree(const fs::path& root) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    names.push_back(fs::relative(entry.path(), root).string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(HomeFiles, PrivateFilesAndFoldersAreTheOwnersOnlyAndOthersFollowTheUmask) {
  TempDir root;
  sim::SimLog log;
  const Umask mask(022);
  WriteBytes(root / "share/System/Snd/ring.wav", "RIFF");
  const fs::path home = root / "home";
  ASSERT_EQ(SeedHome(home, root / "share", log), SeedResult::Seeded);
  const SuiteLayout layout(home);
  EXPECT_EQ(ModeOf(home), 0700U);
  EXPECT_EQ(ModeOf(home / "System"), 0700U);
  EXPECT_EQ(ModeOf(home / "System/Snd"), 0700U);
  EXPECT_EQ(ModeOf(layout.SystemSettingsFile()), 0600U);

  sim::SimDialogs dialogs;
  Custodo custodo(layout, kProfile, dialogs, log);
  custodo.SetCustodo(true);
  ScrambledFiles files(layout, kProfile, dialogs, log, custodo, [] {});
  fs::create_directories(layout.ProfileDir(kProfile));
  ASSERT_TRUE(files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile)));
  EXPECT_TRUE(custodo.CheckSettingsFile("status"));  // makes the profile's backup folder
  EXPECT_EQ(ModeOf(layout.ProfileBackupDir(kProfile)), 0700U);

  mode_t twinMode = 0;
  ASSERT_TRUE(files.ChangeScrambled("main", [&](SettingsFile& main) {
    twinMode = ModeOf(main.FileName());
    main.WriteString("SYSTEM", "Password", "secret");
    twinMode |= ModeOf(main.FileName());
  }));
  ASSERT_TRUE(files.ChangeSystemSettings(
      [&](SettingsFile& system) { system.WriteString("System", "Installed", "1"); }));
  SettingsFile(layout.ProfileDir(kProfile) / "status.hif").WriteString("SYSTEM", "WinSnap", "1");
  custodo.BackupSettingsFile("status");

  EXPECT_EQ(twinMode, 0600U);
  for (const fs::path& file :
       {layout.ProfileDir(kProfile) / "main.hf", layout.ProfileDir(kProfile) / "wimcdax2.hf",
        layout.ProfileBackupDir(kProfile) / "main.bk", layout.SystemSettingsFile(),
        layout.BackupDir() / "pelorin.bk"}) {
    EXPECT_EQ(ModeOf(file), 0600U) << file;
  }
  EXPECT_EQ(ModeOf(layout.ProfileDir(kProfile) / "status.hif"), 0644U);
  EXPECT_EQ(ModeOf(layout.ProfileBackupDir(kProfile) / "status.bk"), 0644U);
}

TEST(HomeFiles, FoldersMadeOpenByTheUserStayOpen) {
  TempDir root;
  sim::SimLog log;
  const fs::path home = root / "home";
  ASSERT_EQ(SeedHome(home, root / "share", log), SeedResult::Seeded);
  const SuiteLayout layout(home);
  fs::create_directories(layout.ProfileBackupDir(kProfile));
  for (const fs::path& dir : {home, layout.BackupDir(), layout.ProfileBackupDir(kProfile)}) {
    ::chmod(dir.c_str(), 0755);
  }
  ASSERT_EQ(SeedHome(home, root / "share", log), SeedResult::Existing);
  sim::SimDialogs dialogs;
  Custodo custodo(layout, kProfile, dialogs, log);
  custodo.SetCustodo(true);
  EXPECT_TRUE(custodo.CheckSettingsFile("status"));
  custodo.BackupSystemFile();
  for (const fs::path& dir : {home, layout.BackupDir(), layout.ProfileBackupDir(kProfile)}) {
    EXPECT_EQ(ModeOf(dir), 0755U) << dir;
  }
}

// A start finds what saves that were killed left behind, and removes that alone.
TEST(HomeFiles, StartRemovesWhatInterruptedSavesLeft) {
  TempDir root;
  sim::SimLog log;
  const fs::path home = root / "home";
  ASSERT_EQ(SeedHome(home, root / "share", log), SeedResult::Seeded);
  const std::vector<std::string> kept = {
      "Custodo",
      "Custodo/Master",
      "Custodo/Master/status.bk",
      "Custodo/custodo.sys",
      "Profiles",
      "Profiles/Master",
      "Profiles/Master/.hidden",
      "Profiles/Master/.status.hif.pelorin-tmp-Ab12C",  // not one of ours
      "Profiles/Master/Data",
      "Profiles/Master/Data/Note01",
      "Profiles/Master/main.hf",
      "Profiles/Master/status.hif",
      "Profiles/Other",
      "Profiles/Other/run.hif",
      "pelorin.hf",
  };
  const std::vector<std::string> leftovers = {
      ".pelorin.hf.pelorin-tmp-AAAAAA",
      "pelorin.hif",
      "pelorin.start.hif",
      "Profiles/Master/main.hif",
      "Profiles/Master/wimpcax2.hif",
      "Profiles/Master/.status.hif.pelorin-tmp-BBBBBB",
      "Profiles/Master/Data/.Note01.pelorin-tmp-CCCCCC",
      "Profiles/Other/wimcdax2.hif",
      "Custodo/.custodo.sys.pelorin-tmp-DDDDDD",
      "Custodo/Master/.status.bk.pelorin-tmp-EEEEEE",
  };
  const std::vector<std::string> folders = {"Custodo/Master", "Profiles/Master/Data",
                                            "Profiles/Other"};
  for (const auto& name : folders)
    fs::create_directories(home / name);
  for (const auto& name : kept) {
    if (!fs::exists(home / name)) WriteBytes(home / name, "kept");
  }
  for (const auto& name : leftovers)
    WriteBytes(home / name, "left by a kill");

  EXPECT_EQ(RemoveInterruptedSaves(SuiteLayout(home), log), static_cast<int>(leftovers.size()));
  EXPECT_EQ(Tree(home), kept);
  for (const auto& name : leftovers)
    WriteBytes(home / name, "left by a kill");
  // The start of the suite does it before anything is opened.
  ASSERT_EQ(SeedHome(home, root / "share", log), SeedResult::Existing);
  EXPECT_EQ(Tree(home), kept);
  EXPECT_EQ(ReadBytes(home / "Profiles/Master/status.hif"), "kept");
}

// Each removal at the start is one line of the log: the plain copy by its name, the
// temporary files by their folder and number.
TEST(HomeFiles, RemovalsOfInterruptedSavesAreLogged) {
  TempDir root;
  sim::SimLog log;
  const fs::path home = root / "home";
  ASSERT_EQ(SeedHome(home, root / "share", log), SeedResult::Seeded);
  EXPECT_TRUE(log.Lines().empty());
  const SuiteLayout layout(home);
  const fs::path data = layout.ProfileDataDir(kProfile);
  WriteBytes(layout.ProfileDir(kProfile) / "main.hif", "passwords");
  WriteBytes(data / ".Note01.pelorin-tmp-CCCCCC", "cut");
  WriteBytes(data / ".Note02.pelorin-tmp-DDDDDD", "cut");

  ASSERT_EQ(SeedHome(home, root / "share", log), SeedResult::Existing);
  ASSERT_EQ(log.CountFrom("backup"), 2);
  EXPECT_EQ(log.Lines()[0].text,
            "removed 2 temporary files of writes cut short from " + data.string());
  EXPECT_EQ(log.Lines()[1].text, "removed " + (layout.ProfileDir(kProfile) / "main.hif").string() +
                                     ", left by a save cut short");
}

}  // namespace
}  // namespace pelorin
