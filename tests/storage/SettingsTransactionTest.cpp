#include "storage/SettingsTransaction.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "storage/FileReplacements.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::FileReplacements;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kBefore = "; kept\r\n[S]\r\nA=1\r\nB=2\r\n[T]\r\nC=3\r\n";

class SettingsTransactionTest : public ::testing::Test {
 protected:
  SettingsTransactionTest() { WriteBytes(file_, kBefore); }

  TempDir dir_;
  std::filesystem::path file_ = dir_ / "test.hif";
  FileReplacements replacements_{dir_.path()};
};

TEST_F(SettingsTransactionTest, CommitWritesEveryChangeOnceAndReadsSeeThemBefore) {
  SettingsFile settings(file_);
  {
    SettingsTransaction change(settings);
    settings.WriteInteger("S", "A", 10);
    settings.DeleteKey("S", "B");
    settings.EraseSection("T");
    settings.WriteString("New", "K", " v ");
    // Reads on this thread see the changes, through any object of the file...
    const SettingsFile other(dir_ / "." / "test.hif");
    EXPECT_EQ(other.ReadInteger("S", "A", 0), 10);
    EXPECT_FALSE(other.ValueExists("S", "B"));
    EXPECT_FALSE(other.SectionExists("T"));
    EXPECT_EQ(other.ReadString("new", "k", ""), " v ");
    // ...while the file itself is not touched yet.
    EXPECT_EQ(ReadBytes(file_), kBefore);
    EXPECT_EQ(replacements_.Of("test.hif"), 0);
    change.Commit();
    change.Commit();  // once over, nothing more happens
  }
  EXPECT_EQ(replacements_.Of("test.hif"), 1);
  EXPECT_EQ(ReadBytes(file_), "; kept\r\n[S]\r\nA=10\r\n[New]\r\nK=\" v \"\r\n");
  EXPECT_EQ(SettingsFile(file_).ReadInteger("S", "A", 0), 10);
}

TEST_F(SettingsTransactionTest, NothingIsWrittenWithoutCommit) {
  SettingsFile settings(file_);
  {
    SettingsTransaction change(settings);
    settings.WriteInteger("S", "A", 10);
  }
  try {
    SettingsTransaction change(settings);
    settings.WriteInteger("S", "A", 11);
    settings.WriteString("S", "bad=key", "v");  // raises half-way
    change.Commit();
    ADD_FAILURE() << "committed";
  } catch (const SettingsNameError&) {
  }
  try {
    SettingsTransaction change(settings);
    settings.EraseSection("S");
    throw std::runtime_error("the operation failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(replacements_.Of("test.hif"), 0);
  EXPECT_EQ(ReadBytes(file_), kBefore);
  EXPECT_EQ(settings.ReadInteger("S", "A", 0), 1);

  // A transaction that changes nothing, or changes a value back, writes nothing.
  SettingsTransaction change(settings);
  settings.WriteInteger("S", "A", 5);
  settings.WriteInteger("S", "A", 1);
  change.Commit();
  EXPECT_EQ(replacements_.Of("test.hif"), 0);
}

TEST_F(SettingsTransactionTest, InnerTransactionsJoinTheOuterOne) {
  SettingsFile settings(file_);
  SettingsTransaction outer(settings);
  settings.WriteInteger("S", "A", 10);
  {
    SettingsTransaction kept(settings);
    settings.WriteInteger("S", "B", 20);
    kept.Commit();
  }
  {
    SettingsTransaction dropped(SettingsFile{file_});
    settings.WriteInteger("S", "A", 99);
    settings.WriteInteger("T", "C", 99);
  }
  EXPECT_EQ(settings.ReadInteger("S", "A", 0), 10);
  EXPECT_EQ(settings.ReadInteger("T", "C", 0), 3);
  EXPECT_EQ(replacements_.Of("test.hif"), 0);
  outer.Commit();
  EXPECT_EQ(replacements_.Of("test.hif"), 1);
  EXPECT_EQ(ReadBytes(file_), "; kept\r\n[S]\r\nA=10\r\nB=20\r\n[T]\r\nC=3\r\n");
}

TEST_F(SettingsTransactionTest, KeepsAChangeMadeOnDiskMeanwhile) {
  SettingsFile settings(file_);
  SettingsTransaction change(settings);
  settings.WriteInteger("S", "A", 10);
  // Another program (here: another thread, which sees the file on disk) changes it.
  std::thread([this] { SettingsFile(file_).WriteInteger("T", "C", 30); }).join();
  EXPECT_EQ(replacements_.Of("test.hif"), 1);
  change.Commit();
  EXPECT_EQ(replacements_.Of("test.hif"), 1);
  EXPECT_EQ(ReadBytes(file_), "; kept\r\n[S]\r\nA=10\r\nB=2\r\n[T]\r\nC=30\r\n");
}

TEST_F(SettingsTransactionTest, AFileThatCannotBeWrittenRefusesTheFirstWrite) {
  std::filesystem::create_directories(dir_ / "folder.hif");
  SettingsFile folder(dir_ / "folder.hif");
  SettingsTransaction change(folder);
  EXPECT_THROW(folder.WriteInteger("S", "A", 1), SettingsWriteError);
  change.Commit();
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "folder.hif"));

  // A file that cannot be replaced refuses the commit.
  WriteBytes(dir_ / "plain", "x");
  SettingsFile under(dir_ / "plain" / "test.hif");
  SettingsTransaction refused(under);
  under.WriteInteger("S", "A", 1);
  EXPECT_THROW(refused.Commit(), SettingsWriteError);
  EXPECT_EQ(ReadBytes(dir_ / "plain"), "x");
  EXPECT_EQ(under.ReadInteger("S", "A", 0), 0);  // the transaction is over
}

struct DeleteCase {
  const char* what;
  std::string before;
  int number;
  int count;
  const char* prefix;
  int first;
  std::string after;
};

TEST_F(SettingsTransactionTest, DeletingFromANumberedListMovesTheLaterSectionsDown) {
  const std::vector<DeleteCase> cases = {
      {"first of three", "[0]\r\nK=a\r\n[1]\r\nK=b\r\nX=1\r\n[2]\r\nK=c\r\n[SYSTEM]\r\nCount=3\r\n",
       0, 3, "", 0, "[0]\r\nK=b\r\nX=1\r\n[1]\r\nK=c\r\n[SYSTEM]\r\nCount=3\r\n"},
      {"middle, lines kept byte for byte", "[0]\r\nK=a\r\n[1]\nK = \"b\" \n; c\n[2]\r\nK=c", 1, 3,
       "", 0, "[0]\r\nK=a\r\n[1]\nK=c"},
      {"the last", "[0]\r\nK=a\r\n[1]\r\nK=b\r\n", 1, 2, "", 0, "[0]\r\nK=a\r\n"},
      {"the only one", "[X]\r\n[0]\r\nK=a\r\n", 0, 1, "", 0, "[X]\r\n"},
      {"a header without line end", "[0]\r\nK=a\r\n[1]", 0, 2, "", 0, "[0]\r\n"},
      {"a missing section in the list", "[0]\r\nK=a\r\n[2]\r\nK=c\r\n", 0, 3, "", 0,
       "[0]\r\n[1]\r\nK=c\r\n"},
      {"outside the list", "[0]\r\nK=a\r\n", 1, 1, "", 0, "[0]\r\nK=a\r\n"},
      {"profiles from 1, beyond the count untouched",
       "[System]\r\nProfilesCount=3\r\n[Profile1]\r\nName=a\r\n[PROFILE2]\r\nName=b\r\n"
       "[Profile3]\r\nName=c\r\nPass=x\r\n[Profile4]\r\nName=stray\r\n",
       2, 3, "Profile", 1,
       "[System]\r\nProfilesCount=3\r\n[Profile1]\r\nName=a\r\n[PROFILE2]\r\nName=c\r\nPass=x\r\n"
       "[Profile4]\r\nName=stray\r\n"},
      {"a later duplicate stays hidden", "[0]\r\nK=a\r\n[1]\r\nK=b\r\n[0]\r\nK=old\r\n", 0, 2, "",
       0, "[0]\r\nK=b\r\n[0]\r\nK=old\r\n"},
      {"code page 1251 text moves as it is", "[0]\r\nK=\xC0\r\n[1]\r\nK=\xC1\r\n", 0, 2, "", 0,
       "[0]\r\nK=\xC1\r\n"},
  };
  for (const DeleteCase& c : cases) {
    WriteBytes(file_, c.before);
    replacements_.Of("test.hif");
    SettingsFile settings(file_);
    DeleteNumberedSection(settings, c.number, c.count, c.prefix, c.first);
    EXPECT_EQ(ReadBytes(file_), c.after) << c.what;
    EXPECT_LE(replacements_.Of("test.hif"), 1) << c.what;
  }
}

TEST_F(SettingsTransactionTest, ManyDeletionsFromAListAreOneWrite) {
  WriteBytes(
      file_,
      "[0]\r\nName=a\r\n[1]\r\nName=b\r\n[2]\r\nName=c\r\n[3]\r\nName=d\r\n[4]\r\nName=e\r\n");
  replacements_.Of("test.hif");
  SettingsFile settings(file_);
  SettingsTransaction change(settings);
  for (const int entry : {3, 1, 0}) {  // from the last to the first, as the link check goes
    DeleteNumberedSection(settings, entry, NumberedSectionCount(settings));
  }
  EXPECT_EQ(NumberedSectionCount(settings), 2);
  change.Commit();
  EXPECT_EQ(replacements_.Of("test.hif"), 1);
  EXPECT_EQ(ReadBytes(file_), "[0]\r\nName=c\r\n[1]\r\nName=e\r\n");
}

}  // namespace
}  // namespace pelorin
