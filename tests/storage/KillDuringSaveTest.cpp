// Saves killed at random moments. A child process saves a plain settings file with its
// backup and a scrambled file through the suite's own storage code, over and over, and
// is killed with SIGKILL after a random delay. After each kill the parent does what the
// next start does (remove what interrupted saves left, check the files against their
// backups) and finds each file whole, at its old or a newer version, no damage reported
// and no stray file left.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "common/AtomicFile.h"
#include "common/ContentStamp.h"
#include "sim/SimDialogs.h"
#include "sim/SimLog.h"
#include "storage/Custodo.h"
#include "storage/InterruptedSaves.h"
#include "storage/ScrambledFiles.h"
#include "storage/SettingsFile.h"
#include "storage/SuiteHome.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;

constexpr const char* kProfile = "Master";
constexpr int kRounds = 300;

// The value saved as version `version`: the number and a filler that differs from one
// version to the next, so that a file mixed from two versions cannot pass.
std::string Value(long version) {
  std::string value = std::to_string(version) + ":";
  for (int i = 0; i < 2000; ++i)
    value.push_back(static_cast<char>('a' + (version * 7 + i) % 26));
  return value;
}

// The version a saved value holds, or -1 when it is not exactly a saved value.
long VersionOf(const std::string& value) {
  const auto colon = value.find(':');
  if (colon == std::string::npos || colon == 0) return -1;
  const long version = std::stol(value.substr(0, colon));
  return Value(version) == value ? version : -1;
}

class KillDuringSaveTest : public ::testing::Test {
 protected:
  KillDuringSaveTest() {
    EXPECT_EQ(SeedHome(home.path(), home / "nothing-delivered", log), SeedResult::Seeded);
    fs::create_directories(layout.ProfileDataDir(kProfile));
    fs::create_directories(layout.ProfileBackupDir(kProfile));
  }

  fs::path Status() const { return layout.ProfileDir(kProfile) / "status.hif"; }

  // One save of each file, as the suite makes them: the file, then its backup.
  void Save(long version) {
    sim::SimDialogs dialogs;
    Custodo custodo(layout, kProfile, dialogs, log);
    custodo.SetCustodo(true);
    ScrambledFiles files(layout, kProfile, dialogs, log, custodo, [] {});
    SettingsFile(Status()).WriteString("SYSTEM", "Version", Value(version));
    custodo.BackupSettingsFile("status");
    files.ChangeScrambled(
        "main", [&](SettingsFile& main) { main.WriteString("SYSTEM", "Version", Value(version)); });
  }

  // Saves from `version` on until it is killed.
  [[noreturn]] void SaveUntilKilled(long version) {
    for (;; ++version)
      Save(version);
  }

  TempDir home;
  SuiteLayout layout{home.path()};
  sim::SimLog log;
};

TEST_F(KillDuringSaveTest, EveryFileIsWholeAndUndamagedAfterAKillAtAnyMoment) {
  {
    sim::SimDialogs dialogs;
    Custodo custodo(layout, kProfile, dialogs, log);
    ScrambledFiles files(layout, kProfile, dialogs, log, custodo, [] {});
    ASSERT_TRUE(files.CreateEmptyProfileFiles(layout.ProfileDir(kProfile)));
  }
  ASSERT_TRUE(WriteFileAtomically(home / "probe", "x"));
  if (!CarriesContentStamp(home / "probe", "x")) {
    GTEST_SKIP() << "the temporary folder's file system keeps no extended attributes, which "
                    "tell a save cut short from damage";
  }
  fs::remove(home / "probe");

  // The kills are spread over about three saves.
  const auto started = std::chrono::steady_clock::now();
  for (long version = 1; version <= 3; ++version)
    Save(version);
  const auto saveTime = (std::chrono::steady_clock::now() - started) / 3;
  const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(3 * saveTime).count();
  std::mt19937 random(20051207);
  std::uniform_int_distribution<long> delay(0, std::max<long>(longest, 1000));

  long lastStatus = 3;
  long lastMain = 3;
  int leftovers = 0;
  int backupsBehind = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveUntilKilled(std::max(lastStatus, lastMain) + 1);
    ::usleep(static_cast<useconds_t>(delay(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    // The next start: first the sweep, then the checks before the files are read.
    leftovers += RemoveInterruptedSaves(layout, log);
    for (const auto& entry : fs::recursive_directory_iterator(home.path())) {
      const std::string name = entry.path().filename().string();
      ASSERT_FALSE(IsInterruptedWriteName(name)) << entry.path();
      ASSERT_NE(entry.path().extension() == ".hif" && name != "status.hif", true) << entry.path();
    }
    const SettingsFile records(SuiteLayout::BackupDatabase(layout.ProfileBackupDir(kProfile)));
    if (RecordedSum(records.ReadString("HIF", "status.hif", "0")) != ByteSum(ReadBytes(Status()))) {
      ++backupsBehind;
    }

    sim::SimDialogs dialogs;  // any question fails the round
    Custodo custodo(layout, kProfile, dialogs, log);
    custodo.SetCustodo(true);
    int quits = 0;
    ScrambledFiles files(layout, kProfile, dialogs, log, custodo, [&] { ++quits; });
    ASSERT_TRUE(custodo.CheckSettingsFile("status"));
    ASSERT_TRUE(custodo.CheckScrambledFile("main"));
    std::string mainValue;
    ASSERT_TRUE(files.ReadScrambled("main", [&](const SettingsFile& main) {
      mainValue = main.ReadString("SYSTEM", "Version", "");
    }));
    ASSERT_TRUE(dialogs.Asked().empty()) << dialogs.Asked().front().text;
    ASSERT_EQ(quits, 0);

    const long statusVersion =
        VersionOf(SettingsFile(Status()).ReadString("SYSTEM", "Version", ""));
    const long mainVersion = VersionOf(mainValue);
    ASSERT_GE(statusVersion, lastStatus);
    ASSERT_GE(mainVersion, lastMain);
    lastStatus = statusVersion;
    lastMain = mainVersion;
    // The check finished a backup that the kill had cut short.
    EXPECT_EQ(ReadBytes(layout.ProfileBackupDir(kProfile) / "status.bk"), ReadBytes(Status()));
  }
  RecordProperty("versions_saved", std::to_string(lastStatus));
  RecordProperty("leftovers_removed", leftovers);
  RecordProperty("backups_behind_their_file", backupsBehind);
  std::printf("%d kills over %ld saves: %d leftovers removed, %d backups finished by the check\n",
              kRounds, lastStatus, leftovers, backupsBehind);
}

}  // namespace
}  // namespace pelorin
