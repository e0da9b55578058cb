#include "storage/Custodo.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "sim/SimDialogs.h"
#include "sim/SimLog.h"
#include "storage/SettingsFile.h"
#include "storage/SuiteLayout.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using ports::DialogButtons;
using ports::DialogIcon;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

constexpr const char* kProfile = "Master";

class CustodoTest : public ::testing::Test {
 protected:
  CustodoTest() {
    fs::create_directories(layout.ProfileDataDir(kProfile));
    fs::create_directories(layout.ProfileBackupDir(kProfile));
    custodo.SetCustodo(true);
  }

  fs::path ProfileFile(const std::string& name) const { return layout.ProfileDir(kProfile) / name; }
  fs::path BackupFile(const std::string& name) const {
    return layout.ProfileBackupDir(kProfile) / name;
  }
  SettingsFile Records() const {
    return SettingsFile(SuiteLayout::BackupDatabase(layout.ProfileBackupDir(kProfile)));
  }
  std::uint32_t RecordedSumOf(std::string_view section, std::string_view key) const {
    return RecordedSum(Records().ReadString(section, key, "0"));
  }

  TempDir home;
  SuiteLayout layout{home.path()};
  sim::SimDialogs dialogs;
  sim::SimLog log;
  Custodo custodo{layout, kProfile, dialogs, log};
};

TEST(ByteSumTest, SumsUnsignedBytesIntoAnUnsigned32BitValue) {
  EXPECT_EQ(ByteSum(""), 0U);
  EXPECT_EQ(ByteSum("\x01\x02\xFF"), 258U);
  // 8421505 bytes of 255 sum to 2147483775, past the largest signed value.
  EXPECT_EQ(ByteSum(std::string(8421505, '\xFF')), 2147483775U);
  // 16843010 bytes of 255 sum to 4294967550: only the low 32 bits (254) are kept.
  EXPECT_EQ(ByteSum(std::string(16843010, '\xFF')), 254U);
}

TEST(ByteSumTest, RecordsReadInTheirNewAndOldForms) {
  const struct {
    const char* text;
    std::uint32_t sum;
  } cases[] = {
      {"2147483775", 2147483775U},   // unsigned, as written now
      {"-2147483521", 2147483775U},  // the same sum as older records hold it
      {"4294967295", 4294967295U},
      {"-1", 4294967295U},
      {"258", 258U},
      {"0", 0U},           // no record
      {"4294967296", 0U},  // too large: none
      {"", 0U},
      {"abc", 0U},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RecordedSum(c.text), c.sum) << c.text;
  }
}

TEST_F(CustodoTest, SystemFileIsBackedUpAndRestoredOnlyOnYes) {
  WriteBytes(layout.SystemSettingsFile(), "scrambled system settings");
  custodo.SetCustodo(false);  // the system settings file is protected regardless
  custodo.BackupSystemFile();
  EXPECT_EQ(ReadBytes(layout.BackupDir() / "pelorin.bk"), "scrambled system settings");
  EXPECT_EQ(RecordedSum(SettingsFile(SuiteLayout::BackupDatabase(layout.BackupDir()))
                            .ReadString("SYSTEM", "pelorin.hf", "")),
            ByteSum("scrambled system settings"));

  const std::string question =
      "Protected file \"pelorin.hf\" is lost or damaged, but backup copy of it found in Custodo "
      "database. Try to restore?";
  WriteBytes(layout.SystemSettingsFile(), "damaged");
  dialogs.Expect(question, DialogAnswer::No);
  EXPECT_FALSE(custodo.RestoreSystemFile());
  EXPECT_EQ(ReadBytes(layout.SystemSettingsFile()), "damaged");

  fs::remove(layout.SystemSettingsFile());
  dialogs.Expect(question, DialogAnswer::Yes);
  EXPECT_TRUE(custodo.RestoreSystemFile());
  EXPECT_EQ(ReadBytes(layout.SystemSettingsFile()), "scrambled system settings");
  ASSERT_EQ(dialogs.Asked().size(), 2U);
  EXPECT_EQ(dialogs.Asked()[1].caption, "Pelorin Security System");
  EXPECT_EQ(dialogs.Asked()[1].icon, DialogIcon::Warning);
  EXPECT_EQ(dialogs.Asked()[1].buttons, DialogButtons::YesNo);

  fs::remove(layout.BackupDir() / "pelorin.bk");
  EXPECT_FALSE(custodo.RestoreSystemFile());  // no copy: no question
  EXPECT_EQ(dialogs.Pending(), 0U);
}

TEST_F(CustodoTest, MissingSystemFileRecordsSumZero) {
  custodo.BackupSystemFile();
  EXPECT_EQ(SettingsFile(SuiteLayout::BackupDatabase(layout.BackupDir()))
                .ReadInteger("SYSTEM", "pelorin.hf", -1),
            0);
}

// Plain and scrambled settings files differ only in extension, section and wording.
struct SettingsKind {
  bool scrambled;
  const char* name;
  const char* file;
  const char* section;
  const char* subject;
};
const SettingsKind kKinds[] = {
    {false, "status", "status.hif", "HIF", "File \"status.hif\""},
    {true, "main", "main.hf", "HF", "Protected file \"main.hf\""},
};

void Backup(Custodo& custodo, const SettingsKind& kind) {
  kind.scrambled ? custodo.BackupScrambledFile(kind.name) : custodo.BackupSettingsFile(kind.name);
}
bool Check(Custodo& custodo, const SettingsKind& kind) {
  return kind.scrambled ? custodo.CheckScrambledFile(kind.name)
                        : custodo.CheckSettingsFile(kind.name);
}

TEST_F(CustodoTest, HandEditedSettingsFileIsOfferedItsBackup) {
  for (const SettingsKind& kind : kKinds) {
    SCOPED_TRACE(kind.file);
    const std::string backed = "[SYSTEM]\r\nKey=1\r\n";
    const std::string edited = "[SYSTEM]\r\nKey=2\r\n";
    WriteBytes(ProfileFile(kind.file), backed);
    Backup(custodo, kind);
    EXPECT_EQ(ReadBytes(BackupFile(std::string(kind.name) + ".bk")), backed);
    EXPECT_EQ(RecordedSumOf(kind.section, kind.file), ByteSum(backed));
    EXPECT_TRUE(Check(custodo, kind));  // undamaged: no question

    const std::string question = std::string(kind.subject) +
                                 " is damaged, but backup copy of it found in Custodo database. "
                                 "Restore?";
    WriteBytes(ProfileFile(kind.file), edited);
    dialogs.Expect(question, DialogAnswer::No);
    EXPECT_FALSE(Check(custodo, kind));
    EXPECT_EQ(ReadBytes(ProfileFile(kind.file)), edited);

    dialogs.Expect(question, DialogAnswer::Yes);
    EXPECT_TRUE(Check(custodo, kind));
    EXPECT_EQ(ReadBytes(ProfileFile(kind.file)), backed);
    EXPECT_EQ(dialogs.Asked().back().icon, DialogIcon::Warning);
    EXPECT_EQ(dialogs.Asked().back().caption, "Pelorin Security System");

    WriteBytes(ProfileFile(kind.file), edited);
    fs::remove(BackupFile(std::string(kind.name) + ".bk"));
    dialogs.Expect(std::string(kind.subject) +
                       " is damaged. No backup copies found. Restoration is not possible.",
                   DialogAnswer::Ok);
    EXPECT_FALSE(Check(custodo, kind));
    EXPECT_EQ(dialogs.Asked().back().buttons, DialogButtons::Ok);
  }
  EXPECT_EQ(dialogs.Pending(), 0U);
}

// The suite was killed after it saved a file and before it backed it up: the file is
// whole (the atomic write stamped it), so the check finishes the backup instead of
// offering the old copy, which would throw the user's change away.
TEST_F(CustodoTest, SaveCutShortBeforeItsBackupIsNotDamage) {
  for (const SettingsKind& kind : kKinds) {
    SCOPED_TRACE(kind.file);
    const std::string saved = "[SYSTEM]\r\nKey=saved\r\n";
    WriteBytes(ProfileFile(kind.file), "[SYSTEM]\r\nKey=old\r\n");
    Backup(custodo, kind);
    ASSERT_TRUE(WriteFileAtomically(ProfileFile(kind.file), saved));
    EXPECT_TRUE(Check(custodo, kind));
    EXPECT_EQ(ReadBytes(BackupFile(std::string(kind.name) + ".bk")), saved);
    EXPECT_EQ(RecordedSumOf(kind.section, kind.file), ByteSum(saved));
  }
  custodo.SetHiProtect(true);
  const fs::path page = layout.NotePageFile(kProfile, 1);
  WriteBytes(page, "{\\rtf1 old}");
  custodo.BackupNotePage(1);
  ASSERT_TRUE(WriteFileAtomically(page, "{\\rtf1 saved, longer}"));
  EXPECT_TRUE(custodo.CheckNotePage(1));
  EXPECT_EQ(ReadBytes(BackupFile("note01.bk")), "{\\rtf1 saved, longer}");
  EXPECT_EQ(Records().ReadInteger("NOTE", "Page1", 0), 21);
  EXPECT_TRUE(dialogs.Asked().empty());

  // A stamp that no longer matches the bytes (an edit in place) does not pass.
  std::string edited = ReadBytes(page);
  edited[8] = 'S';
  WriteBytes(page, edited);
  dialogs.ExpectContaining("Page 2 of notebook is damaged", DialogAnswer::No);
  EXPECT_FALSE(custodo.CheckNotePage(1));
}

// Past 8 MB the byte sum passes 2^31; it is still recorded and compared.
TEST_F(CustodoTest, LargeFileKeepsItsChecksum) {
  std::string bytes(8421505, '\xFF');
  WriteBytes(ProfileFile("org.hif"), bytes);
  custodo.BackupSettingsFile("org");
  EXPECT_EQ(Records().ReadString("HIF", "org.hif", ""), "2147483775");
  EXPECT_TRUE(custodo.CheckSettingsFile("org"));
  bytes[100] = '\xFE';
  WriteBytes(ProfileFile("org.hif"), bytes);
  dialogs.ExpectContaining("\"org.hif\" is damaged, but backup copy", DialogAnswer::No);
  EXPECT_FALSE(custodo.CheckSettingsFile("org"));
  EXPECT_EQ(dialogs.Pending(), 0U);
}

// A file that is there but cannot be read is reported as such, never as damaged.
TEST_F(CustodoTest, UnreadableFileIsNamedWithItsReasonAndNotOfferedARestore) {
  WriteBytes(ProfileFile("clock.hif"), "[0]\r\n");
  custodo.BackupSettingsFile("clock");
  fs::remove(ProfileFile("clock.hif"));
  fs::create_directories(ProfileFile("clock.hif") / "inner");
  dialogs.Expect("Unable to read " + ProfileFile("clock.hif").string() + ": Is a directory",
                 DialogAnswer::Ok);
  EXPECT_FALSE(custodo.CheckSettingsFile("clock"));
  ASSERT_EQ(dialogs.Asked().size(), 1U);
  EXPECT_EQ(dialogs.Asked()[0].caption, "Pelorin Security System");
  EXPECT_EQ(dialogs.Asked()[0].buttons, DialogButtons::Ok);
  EXPECT_TRUE(fs::exists(BackupFile("clock.bk")));
}

TEST_F(CustodoTest, CustodoOffDropsBackupsAndNeverAsks) {
  for (const SettingsKind& kind : kKinds) {
    SCOPED_TRACE(kind.file);
    WriteBytes(ProfileFile(kind.file), "[SYSTEM]\r\nKey=1\r\n");
    custodo.SetCustodo(true);
    Backup(custodo, kind);
    WriteBytes(ProfileFile(kind.file), "hand edited");

    custodo.SetCustodo(false);
    EXPECT_TRUE(Check(custodo, kind));  // damaged, but not protected: no question
    Backup(custodo, kind);
    EXPECT_FALSE(fs::exists(BackupFile(std::string(kind.name) + ".bk")));
    EXPECT_FALSE(Records().ValueExists(kind.section, kind.file));
  }
  WriteBytes(layout.NotePageFile(kProfile, 3), "page");
  custodo.SetCustodo(true);
  custodo.SetHiProtect(true);
  custodo.BackupNotePage(3);
  custodo.SetCustodo(false);
  WriteBytes(layout.NotePageFile(kProfile, 3), "longer page");
  EXPECT_TRUE(custodo.CheckNotePage(3));
  custodo.BackupNotePage(3);
  EXPECT_FALSE(fs::exists(BackupFile("note03.bk")));
  EXPECT_FALSE(Records().ValueExists("NOTE", "Page3"));
  EXPECT_FALSE(Records().ValueExists("NOTE", "PageHi3"));
  EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(CustodoTest, ChecksPassWithoutARecordOrAFile) {
  // A missing file, and a file without a recorded sum, are never damaged.
  EXPECT_TRUE(custodo.CheckSettingsFile("run"));
  WriteBytes(ProfileFile("run.hif"), "[0]\r\nName=x\r\n");
  EXPECT_TRUE(custodo.CheckSettingsFile("run"));
  EXPECT_TRUE(custodo.CheckNotePage(0));
  // A missing backup directory is created by a check.
  fs::remove_all(layout.ProfileBackupDir(kProfile));
  EXPECT_TRUE(custodo.CheckSettingsFile("run"));
  EXPECT_TRUE(fs::is_directory(layout.ProfileBackupDir(kProfile)));
  EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(CustodoTest, NotebookPageIsCalledByItsNumberPlusOne) {
  const fs::path page = layout.NotePageFile(kProfile, 4);
  EXPECT_EQ(page.filename(), "Note04");
  WriteBytes(page, "{\\rtf1 page}");
  custodo.BackupNotePage(4);
  EXPECT_EQ(ReadBytes(BackupFile("note04.bk")), "{\\rtf1 page}");
  EXPECT_EQ(Records().ReadInteger("NOTE", "Page4", 0), 12);
  EXPECT_FALSE(Records().ValueExists("NOTE", "PageHi4"));  // HiProtect is off

  WriteBytes(page, "{\\rtf1 page, longer}");
  dialogs.Expect(
      "Page 5 of notebook is damaged, but backup copy of it found in Custodo database. Restore?",
      DialogAnswer::Yes);
  EXPECT_TRUE(custodo.CheckNotePage(4));
  EXPECT_EQ(ReadBytes(page), "{\\rtf1 page}");
}

TEST_F(CustodoTest, HiProtectAddsTheSumToTheLengthCheck) {
  const fs::path page = layout.NotePageFile(kProfile, 7);
  WriteBytes(page, "{\\rtf1 abc}");
  custodo.BackupNotePage(7);
  WriteBytes(page, "{\\rtf1 xyz}");  // same length: only the sum sees it
  EXPECT_TRUE(custodo.CheckNotePage(7));

  custodo.SetHiProtect(true);
  WriteBytes(page, "{\\rtf1 abc}");
  custodo.BackupNotePage(7);
  EXPECT_EQ(RecordedSumOf("NOTE", "PageHi7"), ByteSum("{\\rtf1 abc}"));
  WriteBytes(page, "{\\rtf1 xyz}");
  dialogs.Expect(
      "Page 8 of notebook is damaged, but backup copy of it found in Custodo database. "
      "Restore?",
      DialogAnswer::No);
  EXPECT_FALSE(custodo.CheckNotePage(7));

  // Switched off after the backup: the recorded sum is now compared with 0, so even
  // the unchanged page reads as damaged until it is saved again.
  WriteBytes(page, "{\\rtf1 abc}");
  custodo.SetHiProtect(false);
  fs::remove(BackupFile("note07.bk"));
  dialogs.Expect(
      "Page 8 of notebook is damaged. No backup copies found. Restoration is not "
      "possible.",
      DialogAnswer::Ok);
  EXPECT_FALSE(custodo.CheckNotePage(7));

  custodo.BackupNotePage(7);  // saved with HiProtect off: the sum record goes
  EXPECT_FALSE(Records().ValueExists("NOTE", "PageHi7"));
  EXPECT_TRUE(custodo.CheckNotePage(7));
  EXPECT_EQ(dialogs.Pending(), 0U);
}

TEST_F(CustodoTest, DayBookPageIsCalledByItsDateInPairs) {
  const fs::path page = layout.DayPageFile(kProfile, "070405");
  EXPECT_EQ(page.filename(), "DB070405.hf");
  WriteBytes(page, "encoded page");
  custodo.SetHiProtect(true);
  custodo.BackupDayPage("070405");
  EXPECT_EQ(ReadBytes(BackupFile("db070405.bk")), "encoded page");
  EXPECT_EQ(Records().ReadInteger("DBOOK", "Page070405", 0), 12);
  EXPECT_EQ(RecordedSumOf("DBOOK", "PageHi070405"), ByteSum("encoded page"));

  WriteBytes(page, "encoded pagX");
  fs::remove(BackupFile("db070405.bk"));
  dialogs.Expect(
      "Page \"07.04.05\" of day book is damaged. No backup copies found. Restoration is not "
      "possible.",
      DialogAnswer::Ok);
  EXPECT_FALSE(custodo.CheckDayPage("070405"));

  fs::remove(page);  // a page that is gone takes its records and backup with it
  custodo.BackupDayPage("070405");
  EXPECT_FALSE(Records().ValueExists("DBOOK", "Page070405"));
  EXPECT_FALSE(Records().ValueExists("DBOOK", "PageHi070405"));
}

TEST_F(CustodoTest, RefusedCopyStillRecordsTheChecksum) {
  // A directory in the place of the backup copy: the copy cannot replace it.
  fs::create_directories(BackupFile("note02.bk") / "occupied");
  fs::create_directories(BackupFile("run.bk") / "occupied");
  WriteBytes(layout.NotePageFile(kProfile, 2), "page two");
  WriteBytes(ProfileFile("run.hif"), "[0]\r\n");
  custodo.BackupNotePage(2);
  custodo.BackupSettingsFile("run");
  EXPECT_EQ(Records().ReadInteger("NOTE", "Page2", 0), 8);
  EXPECT_EQ(RecordedSumOf("HIF", "run.hif"), ByteSum("[0]\r\n"));
  EXPECT_TRUE(fs::is_directory(BackupFile("note02.bk")));
}

TEST_F(CustodoTest, RefusedRestoreCountsAsNotRestoredAndSaysWhy) {
  WriteBytes(ProfileFile("tel.hif"), "[0]\r\nName=A\r\n");
  custodo.BackupSettingsFile("tel");
  WriteBytes(ProfileFile("tel.hif"), "[0]\r\nName=B\r\n");
  // A directory in the place of the backup copy: it cannot be copied back.
  fs::remove(BackupFile("tel.bk"));
  fs::create_directories(BackupFile("tel.bk") / "occupied");
  dialogs.Expect(
      "File \"tel.hif\" is damaged, but backup copy of it found in Custodo database. Restore?",
      DialogAnswer::Yes);
  dialogs.Expect("Unable to read " + BackupFile("tel.bk").string() + ": Is a directory",
                 DialogAnswer::Ok);
  EXPECT_FALSE(custodo.CheckSettingsFile("tel"));
  EXPECT_EQ(ReadBytes(ProfileFile("tel.hif")), "[0]\r\nName=B\r\n");
  EXPECT_EQ(dialogs.Pending(), 0U);
}

// What the user is not told goes to the log, one line each, naming the file: a copy the
// system refused and a damaged file put back from its backup.
TEST_F(CustodoTest, RefusedCopiesAndRestoresAreLogged) {
  fs::create_directories(BackupFile("run.bk") / "occupied");
  WriteBytes(ProfileFile("run.hif"), "[0]\r\n");
  custodo.BackupSettingsFile("run");
  ASSERT_EQ(log.Lines().size(), 1U);
  EXPECT_EQ(log.Lines()[0].source, "backup");
  EXPECT_NE(log.Lines()[0].text.find(ProfileFile("run.hif").string()), std::string::npos);
  EXPECT_NE(log.Lines()[0].text.find(BackupFile("run.bk").string() + ": Is a directory"),
            std::string::npos)
      << log.Lines()[0].text;

  WriteBytes(ProfileFile("tel.hif"), "[0]\r\nName=A\r\n");
  custodo.BackupSettingsFile("tel");
  EXPECT_TRUE(custodo.CheckSettingsFile("tel"));
  EXPECT_EQ(log.Lines().size(), 1U);  // a sound backup and check say nothing
  WriteBytes(ProfileFile("tel.hif"), "[0]\r\nName=B\r\n");
  dialogs.ExpectContaining("\"tel.hif\" is damaged", DialogAnswer::Yes);
  EXPECT_TRUE(custodo.CheckSettingsFile("tel"));
  ASSERT_EQ(log.CountFrom("backup"), 2);
  EXPECT_EQ(log.Lines()[1].text, ProfileFile("tel.hif").string() +
                                     " was damaged and is restored from its backup " +
                                     BackupFile("tel.bk").string());
}

TEST_F(CustodoTest, RejectsNamesThatAreNotTheSuitesFiles) {
  EXPECT_THROW(custodo.BackupSettingsFile("../status"), std::invalid_argument);
  EXPECT_THROW(custodo.CheckScrambledFile(""), std::invalid_argument);
  EXPECT_THROW(custodo.BackupNotePage(100), std::invalid_argument);
  EXPECT_THROW(custodo.CheckNotePage(-1), std::invalid_argument);
  EXPECT_THROW(custodo.BackupDayPage("7405"), std::invalid_argument);
  EXPECT_THROW(custodo.CheckDayPage("07/405"), std::invalid_argument);
}

}  // namespace
}  // namespace pelorin
