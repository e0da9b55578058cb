// Files that the system refuses to read or write are reported as exactly that, with
// the file and the system's reason, and never as damaged files with a restore offer.
// The refusals are real: a read-only bind mount seen only by a child process, and the
// mode bits of files that a child without root's rights may not read or write.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ports/Dialogs.h"
#include "sim/SimLog.h"
#include "storage/Custodo.h"
#include "storage/ScrambledFiles.h"
#include "storage/SettingsFile.h"
#include "storage/SuiteHome.h"
#include "support/ForkedChild.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kProfile = "Master";

// Takes every message and answers No (Ok where that is the only button).
class AnsweringDialogs : public ports::Dialogs {
 public:
  ports::DialogAnswer Show(const ports::MessageRequest& request) override {
    shown.push_back(request.text);
    return request.buttons == ports::DialogButtons::Ok ? ports::DialogAnswer::Ok
                                                       : ports::DialogAnswer::No;
  }
  std::string ChooseFileToOpen(const ports::OpenFileRequest&) override { return {}; }
  std::vector<std::string> shown;
};

// A home with pelorin.hf, a profile with its scrambled files and a protected status.hif.
class RefusedFilesTest : public ::testing::Test {
 protected:
  RefusedFilesTest() {
    EXPECT_EQ(SeedHome(home.path(), home / "nothing-delivered", log), SeedResult::Seeded);
    fs::create_directories(layout.ProfileDataDir(kProfile));
    fs::create_directories(layout.ProfileBackupDir(kProfile));
    ScrambledFiles files(layout, kProfile, dialogs, log, custodo, [] {});
    EXPECT_TRUE(files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile)));
    custodo.SetCustodo(true);
    WriteBytes(Status(), "[SYSTEM]\r\nWinSnap=1\r\n");
    custodo.BackupSettingsFile("status");
  }

  fs::path Status() const { return layout.ProfileDir(kProfile) / "status.hif"; }
  fs::path Main() const { return layout.ProfileDir(kProfile) / "main.hf"; }

  TempDir home;
  SuiteLayout layout{home.path()};
  AnsweringDialogs dialogs;
  sim::SimLog log;
  Custodo custodo{layout, kProfile, dialogs, log};
};

// What the child saw, one line per check that failed; "SKIP ..." when it could not
// set the refusal up.
void ExpectChildReport(const testing::ChildReport& report) {
  if (report.text.rfind("SKIP ", 0) == 0) GTEST_SKIP() << report.text;
  EXPECT_TRUE(report.exited);
  EXPECT_EQ(report.exitStatus, 0);
  EXPECT_EQ(report.text, "");
}

std::string Compare(const std::vector<std::string>& shown, const std::vector<std::string>& wanted) {
  if (shown == wanted) return "";
  std::string text = "messages:";
  for (const auto& s : shown)
    text += "\n  " + s;
  text += "\nwanted:";
  for (const auto& s : wanted)
    text += "\n  " + s;
  return text + "\n";
}

TEST_F(RefusedFilesTest, ReadOnlyFileSystemIsNamedAndNeverDamage) {
  ExpectChildReport(testing::RunInChild([&]() -> std::string {
    std::string why;
    if (!testing::MakeReadOnlyForThisProcess(home.path(), why)) return "SKIP " + why;
    std::string failures;
    AnsweringDialogs seen;
    Custodo protector(layout, kProfile, seen, log);
    protector.SetCustodo(true);
    int quits = 0;
    ScrambledFiles files(layout, kProfile, seen, log, protector, [&] { ++quits; });

    if (files.OpenSystemSettings()) failures += "pelorin.hf was opened\n";
    if (files.OpenScrambled("main")) failures += "main.hf was opened\n";
    if (quits != 2) failures += "the suite was not ended twice\n";
    // Reading is allowed: the protected file passes its check without a question.
    if (!protector.CheckSettingsFile("status")) failures += "status.hif failed its check\n";
    try {
      SettingsFile(Status()).WriteString("SYSTEM", "WinSnap", "0");
      failures += "status.hif was written\n";
    } catch (const SettingsWriteError& e) {
      seen.shown.push_back(e.what());
    }
    const std::string reason = ": Read-only file system";
    return failures +
           Compare(seen.shown,
                   {
                       "Unable to write to " + layout.SystemSettingsCopy().string() + reason,
                       "Unable to write to " + (layout.ProfileDir(kProfile) / "main.hif").string() +
                           reason,
                       "Unable to write to " + Status().string() + reason,
                   });
  }));
}

// A backup folder the system will not let the suite write: the user is told of the
// record that cannot be written, and the log of the copy that was not refreshed.
TEST_F(RefusedFilesTest, ABackupInAReadOnlyFolderIsOneLogLine) {
  ExpectChildReport(testing::RunInChild([&]() -> std::string {
    std::string why;
    if (!testing::MakeReadOnlyForThisProcess(layout.ProfileBackupDir(kProfile), why)) {
      return "SKIP " + why;
    }
    std::string failures;
    sim::SimLog childLog;
    Custodo protector(layout, kProfile, dialogs, childLog);
    protector.SetCustodo(true);
    WriteBytes(Status(), "[SYSTEM]\r\nWinSnap=0\r\n");
    try {
      protector.BackupSettingsFile("status");
      failures += "the record was written\n";
    } catch (const SettingsWriteError&) {
    }
    if (childLog.Lines().size() != 1 || childLog.CountFrom("backup") != 1) {
      return failures + "log lines: " + std::to_string(childLog.Lines().size()) + "\n";
    }
    const std::string& line = childLog.Lines()[0].text;
    if (line.find(Status().string()) == std::string::npos ||
        line.find("Read-only file system") == std::string::npos) {
      failures += "the line does not name the file and the reason: " + line + "\n";
    }
    if (!dialogs.shown.empty()) failures += "a message was shown\n";
    return failures;
  }));
}

TEST_F(RefusedFilesTest, UnreadableFilesAreNamedAndNeverDamage) {
  // Everyone may pass through the folders; the files are the owner's and not even his.
  for (const fs::path& dir : {home.path(), layout.ProfilesDir(), layout.ProfileDir(kProfile)}) {
    ::chmod(dir.c_str(), 0755);
  }
  ::chmod(Main().c_str(), 0);
  ::chmod(Status().c_str(), 0);
  ExpectChildReport(testing::RunInChild([&]() -> std::string {
    std::string why;
    if (!testing::TakeOrdinaryUsersRights(why)) return "SKIP " + why;
    std::string failures;
    AnsweringDialogs seen;
    Custodo protector(layout, kProfile, seen, log);
    protector.SetCustodo(true);
    ScrambledFiles files(layout, kProfile, seen, log, protector, [] {});

    if (files.OpenScrambled("main")) failures += "main.hf was opened\n";
    if (protector.CheckSettingsFile("status")) failures += "status.hif passed its check\n";
    try {
      SettingsFile(Status()).WriteString("SYSTEM", "WinSnap", "0");
      failures += "status.hif was written\n";
    } catch (const SettingsWriteError& e) {
      seen.shown.push_back(e.what());
    }
    const std::string reason = ": Permission denied";
    return failures + Compare(seen.shown, {
                                              "Unable to read " + Main().string() + reason,
                                              "Unable to read " + Status().string() + reason,
                                              "Unable to write to " + Status().string() + reason,
                                          });
  }));
}

}  // namespace
}  // namespace pelorin
