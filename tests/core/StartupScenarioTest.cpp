#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/StartupScenario.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "storage/Scrambler.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ports::DialogAnswer;
using testing::ReadBytes;
using testing::StartupScenario;
using testing::SuiteProcess;
using testing::WriteBytes;

const std::vector<int> kLoadProgress = {0,  5,  10, 15, 18, 22, 28, 32, 35,
                                        42, 55, 65, 70, 73, 78, 90, 100};

TEST_F(StartupScenario, FirstRunInstallsTheMasterProfileAndLoadsIt) {
  SuiteProcess p(home.path());
  p.dialogs.Expect("Pelorin installation successfully done, enjoy using it!", DialogAnswer::Ok);
  ASSERT_TRUE(p.Create());
  EXPECT_EQ(p.dialogs.Asked().front().caption, "Brimwell  Pelorin  Ovelle");
  EXPECT_TRUE(p.values().FirstRun);

  EXPECT_TRUE(fs::is_directory(ProfileFile("Data")));
  EXPECT_TRUE(fs::is_directory(home / "Custodo" / "Master"));
  EXPECT_EQ(ScrambledValue(SystemFile(), "System", "Installed"), "1");
  EXPECT_EQ(ScrambledValue(SystemFile(), "Profile1", "Path"), "Master");
  EXPECT_EQ(ScrambledValue(SystemFile(), "Profile1", "Name"), "Master");
  EXPECT_EQ(ScrambledValue(SystemFile(), "Profile1", "Type"), "1");
  EXPECT_EQ(ScrambledValue(SystemFile(), "System", "ProfilesCount"), "1");
  for (const char* name : {"main.hf", "wimcdax2.hf", "wimpcax2.hf"}) {
    EXPECT_EQ(ScrambledValue(ProfileFile(name), "SYSTEM", "FILEOK"), "OK") << name;
  }
  EXPECT_TRUE(Plain("run").ReadBool("SYSTEM", "UseW2K", false));
  EXPECT_TRUE(Plain("reminder").ReadBool("SYSTEM", "UsePC", false));
  EXPECT_TRUE(Plain("reminder").ReadBool("SYSTEM", "EveryHourPC", false));
  EXPECT_EQ(Plain("mixerfly").ReadInteger("MIXER", "MixID", 0), -1);
  EXPECT_EQ(Plain("mixerfly").ReadInteger("MIXER", "SourceID", 0), -1);
  EXPECT_EQ(ReadBytes(home / "Custodo" / "pelorin.bk"), ReadBytes(SystemFile()));
  EXPECT_EQ(p.desktop.autostartWrites, 1);
  EXPECT_EQ(p.view.mixerFlyTop, -200);
  EXPECT_FALSE(p.view.taskbarButton);

  p.Advance(50);  // the splash, centred, for 1.5 s
  EXPECT_TRUE(p.view.mainWindow.splash);
  EXPECT_EQ(p.view.mainWindow.left, (1280 - 300) / 2);
  p.Advance(1500);
  EXPECT_EQ(p.view.title, "Welcome...");
  EXPECT_EQ(p.view.mainWindow.width, TF_Main::kStripWidth);
  EXPECT_FALSE(p.suite.pass().Visible());  // the Master profile has no password
  EXPECT_FALSE(p.values().ProfileActive);

  p.Advance(100);  // the password tick accepts the empty password
  EXPECT_TRUE(p.values().ProfileActive);
  EXPECT_FALSE(p.values().StartupSelection);
  EXPECT_FALSE(p.values().FirstRun);
  EXPECT_TRUE(p.view.trayVisible);
  EXPECT_EQ(p.view.busyCaption, "Pelorin - Master");
  EXPECT_EQ(p.view.busyText, "Starting profile: Master");
  EXPECT_EQ(p.view.busyProgress, kLoadProgress);
  EXPECT_FALSE(p.view.busyVisible);
  EXPECT_EQ(p.view.mainWindow.left, TF_Main::kParked);  // no stored position: strip hidden
  EXPECT_EQ(p.values().RememberedDate, "01/05/2026");
  EXPECT_EQ(ScrambledValue(SystemFile(), "System", "CurrentProfile"), "1");
  EXPECT_TRUE(PlainCopiesLeft().empty());
  EXPECT_EQ(p.dialogs.Pending(), 0u);
}

TEST_F(StartupScenario, SecondStartOfAnInstalledSuiteAsksNothing) {
  Install();
  SuiteProcess second(home.path());
  second.desktop.autostartExists = true;
  second.drives.SetDrive('D', ports::DriveType::Fixed, home.path());
  second.drives.SetDrive('E', ports::DriveType::CdRom);
  second.drives.SetDrive('G', ports::DriveType::CdRom);
  second.StartUp();  // an unexpected question would fail here
  EXPECT_TRUE(second.dialogs.Asked().empty());
  EXPECT_TRUE(second.values().ProfileActive);
  EXPECT_FALSE(second.values().FirstRun);
  EXPECT_EQ(second.desktop.autostartWrites, 0);
  EXPECT_TRUE(second.values().AutostartWanted);
  EXPECT_EQ(second.suite.main().CdDrives(), (std::vector<int>{5, 7}));
  EXPECT_TRUE(PlainCopiesLeft().empty());
}

TEST_F(StartupScenario, SplashScreenOffStartsAfterOneMillisecond) {
  Install();
  SetSystemValue("System", "SplashScreen", "0");
  SetSystemValue("Profile1", "Pass", "secret");
  SuiteProcess p(home.path());
  ASSERT_TRUE(p.Create());
  p.Advance(1);
  EXPECT_FALSE(p.view.mainWindow.splash);
  EXPECT_EQ(p.suite.pass().PendingAction(), TF_Pass::kProfileChange);
  EXPECT_TRUE(p.suite.pass().Visible());
}

TEST_F(StartupScenario, RestoringNeedsTheCompanionsTokenAsWellAsTheArgument) {
  Install();
  SetSystemValue("Profile1", "Pass", "secret");

  SuiteProcess plain(home.path());  // the argument alone: an ordinary start
  plain.StartUp({"pelorin.exe"}, false);
  EXPECT_FALSE(plain.values().RestoringMode);
  EXPECT_EQ(plain.view.title, "Welcome...");
  EXPECT_TRUE(plain.suite.pass().Visible());
  EXPECT_FALSE(plain.values().ProfileActive);

  SuiteProcess restoring(home.path());
  ASSERT_TRUE(restoring.Create({"pelorin.exe"}, true));
  restoring.Advance(50);  // no splash
  EXPECT_FALSE(restoring.view.mainWindow.splash);
  EXPECT_EQ(restoring.view.title, "Restoring...");
  EXPECT_FALSE(restoring.suite.pass().Visible());  // no password while restoring
  restoring.Advance(100);
  EXPECT_TRUE(restoring.values().ProfileActive);
  EXPECT_EQ(restoring.view.busyText, "Restoring Master");
}

TEST_F(StartupScenario, PriorityFromTheSystemSettings) {
  Install();
  struct Case {
    const char* stored;
    std::optional<ports::ProcessPriority> set;
  };
  const Case cases[] = {{"0", ports::ProcessPriority::Idle},
                        {"1", ports::ProcessPriority::Normal},
                        {"2", ports::ProcessPriority::High},
                        {"5", std::nullopt}};
  for (const Case& c : cases) {
    SetSystemValue("SYSTEM", "Priority", c.stored);
    SuiteProcess p(home.path());
    ASSERT_TRUE(p.Create());
    EXPECT_EQ(p.desktop.priority, c.set) << "Priority " << c.stored;
  }
}

TEST_F(StartupScenario, LostProfileFolderIsRecreatedEmpty) {
  Install();
  fs::remove_all(ProfileFile(""));
  SuiteProcess p(home.path());
  p.dialogs.Expect("Profile folder is damaged or lost, empty profile created.", DialogAnswer::Ok);
  p.StartUp();
  EXPECT_EQ(p.dialogs.Asked().front().caption, "Pelorin Security System");
  EXPECT_TRUE(p.values().ProfileActive);
  EXPECT_TRUE(fs::is_directory(ProfileFile("Data")));
  EXPECT_EQ(ScrambledValue(ProfileFile("main.hf"), "SYSTEM", "FILEOK"), "OK");
}

// A profile protected by Custodo whose main.hf was damaged afterwards.
class DamagedMainFile : public StartupScenario {
 protected:
  void SetUp() override {
    Install();
    SetMainValue("SYSTEM", "Custodo", "1");
    SuiteProcess protectedRun(home.path());  // backs main.hf up at its profile load
    protectedRun.StartUp();
    ASSERT_TRUE(fs::exists(home / "Custodo" / "Master" / "main.bk"));
    goodMain = ReadBytes(ProfileFile("main.hf"));
    WriteBytes(ProfileFile("status.hif"), "[POSITION]\r\nX=100\r\nY=200\r\n");
    WriteBytes(ProfileFile("main.hf"), "damaged");
  }

  std::string goodMain;
};

TEST_F(DamagedMainFile, BackupIsOfferedAndTheSuiteEndsAfterRestoring) {
  SuiteProcess p(home.path());
  p.dialogs.ExpectContaining("\"main.hf\" is damaged, but backup copy of it found",
                             DialogAnswer::Yes);
  p.StartUp();
  EXPECT_TRUE(p.Ended());
  EXPECT_EQ(p.view.endProcessCalls, 1);
  EXPECT_EQ(ReadBytes(ProfileFile("main.hf")), goodMain);  // read at the next start
  // The failed load never got to the windows: their stored places are kept.
  EXPECT_EQ(ReadBytes(ProfileFile("status.hif")), "[POSITION]\r\nX=100\r\nY=200\r\n");
  EXPECT_TRUE(PlainCopiesLeft().empty());
}

TEST_F(DamagedMainFile, WithoutBackupTheSuiteSaysSoAndEnds) {
  fs::remove(home / "Custodo" / "Master" / "main.bk");
  SuiteProcess p(home.path());
  p.dialogs.ExpectContaining("\"main.hf\" is damaged. No backup copies found.", DialogAnswer::Ok)
      .Expect(
          "Warning! Protected file \"main.hf\" is damaged! Continue of execution is not "
          "possible!",
          DialogAnswer::Ok);
  p.StartUp();
  EXPECT_TRUE(p.Ended());
  EXPECT_EQ(p.view.endProcessCalls, 1);
  EXPECT_FALSE(p.suite.lifetime().Running);
  EXPECT_EQ(p.dialogs.Pending(), 0u);
  EXPECT_TRUE(PlainCopiesLeft().empty());
}

}  // namespace
}  // namespace pelorin
