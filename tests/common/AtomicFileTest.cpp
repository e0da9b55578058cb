#include "common/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ContentStamp.h"
#include "common/Files.h"
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

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(AtomicFile, SharedFilesFollowTheUmaskAndOwnerOnlyFilesAre0600) {
  TempDir dir;
  const Umask mask(027);
  std::error_code cause;
  ASSERT_TRUE(WriteFileAtomically(dir / "new.hif", "a"));
  EXPECT_EQ(ModeOf(dir / "new.hif"), 0640U);
  // A replaced file keeps the bits the user gave it.
  ::chmod((dir / "new.hif").c_str(), 0604);
  ASSERT_TRUE(WriteFileAtomically(dir / "new.hif", "b"));
  EXPECT_EQ(ModeOf(dir / "new.hif"), 0604U);
  // A file holding passwords is the owner's only, also when it replaces an open one.
  ASSERT_TRUE(WriteFileAtomically(dir / "new.hif", "c",
                                  {Durability::Transient, FileAccess::OwnerOnly}, cause));
  EXPECT_EQ(ModeOf(dir / "new.hif"), 0600U);
  ASSERT_TRUE(WriteFileAtomically(dir / "secret.hf", "d", {}, cause) &&
              WriteFileAtomically(dir / "secret.hf", "d",
                                  {Durability::Durable, FileAccess::OwnerOnly}, cause));
  EXPECT_EQ(ModeOf(dir / "secret.hf"), 0600U);
  EXPECT_EQ(ReadBytes(dir / "new.hif"), "c");
}

TEST(AtomicFile, RefusedWritesAndReadsSayWhy) {
  TempDir dir;
  WriteBytes(dir / "plain", "x");
  const struct {
    fs::path file;
    std::errc reason;
  } refusals[] = {
      {dir / "plain" / "under.hif", std::errc::not_a_directory},
      {dir / "missing" / "a.hif", std::errc::no_such_file_or_directory},
  };
  for (const auto& r : refusals) {
    std::error_code cause;
    EXPECT_FALSE(WriteFileAtomically(r.file, "bytes", {}, cause));
    EXPECT_EQ(cause, r.reason) << r.file;
    EXPECT_EQ(LastRefusedWriteCause(r.file), r.reason);
  }
  EXPECT_FALSE(LastRefusedWriteCause(dir / "plain").operator bool());  // another file
  ASSERT_TRUE(WriteFileAtomically(dir / "ok", "y"));
  EXPECT_FALSE(LastRefusedWriteCause(refusals[1].file).operator bool());  // it succeeded since

  std::error_code cause;
  EXPECT_FALSE(ReadWholeFile(dir / "none", cause));
  EXPECT_EQ(cause, std::errc::no_such_file_or_directory);
  EXPECT_FALSE(ReadWholeFile(dir.path(), cause));
  EXPECT_EQ(cause, std::errc::is_a_directory);
  EXPECT_EQ(ReadWholeFile(dir / "plain", cause).value_or(""), "x");
  EXPECT_FALSE(cause);
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"ok", "plain"}));
}

// A kill between writing the temporary file and renaming it leaves the temporary file;
// the next write of the same file removes it, unless a write in progress holds it.
TEST(AtomicFile, NextWriteOfAFileRemovesWhatInterruptedWritesLeft) {
  TempDir dir;
  const std::string leftover = ".run.hif.pelorin-tmp-Ab12Cd";
  const std::string otherFiles = ".tel.hif.pelorin-tmp-Zz99Yy";
  EXPECT_TRUE(IsInterruptedWriteName(leftover));
  for (const char* name : {".run.hif.pelorin-tmp-Ab12C", "run.hif.pelorin-tmp-Ab12Cd",
                           ".pelorin-tmp-Ab12Cd", ".run.hif.pelorin-tmp-Ab12C!"}) {
    EXPECT_FALSE(IsInterruptedWriteName(name)) << name;
  }
  WriteBytes(dir / leftover, "half a file");
  WriteBytes(dir / otherFiles, "half of another");
  WriteBytes(dir / ".run.hif.pelorin-tmp-Ab12C", "not ours");
  fs::path held;
  std::error_code cause;
  const int fd = CreateScratchFileFor(dir / "run.hif", held, cause);
  ASSERT_GE(fd, 0) << cause.message();
  EXPECT_TRUE(IsInterruptedWriteName(held.filename().string()));
  EXPECT_EQ(ModeOf(held), 0600U);

  ASSERT_TRUE(WriteFileAtomically(dir / "run.hif", "[0]\r\n"));
  EXPECT_FALSE(fs::exists(dir / leftover));
  EXPECT_TRUE(fs::exists(held));  // still held by its maker
  EXPECT_TRUE(fs::exists(dir / otherFiles));
  ::close(fd);
  // The sweep of a whole folder takes every one no one holds.
  EXPECT_EQ(RemoveInterruptedWrites(dir.path()), 2);
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{".run.hif.pelorin-tmp-Ab12C", "run.hif"}));
}

TEST(AtomicFile, WrittenFilesCarryAStampOfTheirContent) {
  TempDir dir;
  ASSERT_TRUE(WriteFileAtomically(dir / "page", "content"));
  if (!CarriesContentStamp(dir / "page", "content")) {
    GTEST_SKIP() << "the temporary folder's file system keeps no extended attributes";
  }
  EXPECT_FALSE(CarriesContentStamp(dir / "page", "contenT"));
  WriteBytes(dir / "page", "changed in place");  // the stamp stays, but no longer fits
  EXPECT_FALSE(CarriesContentStamp(dir / "page", "changed in place"));
  WriteBytes(dir / "other", "content");
  EXPECT_FALSE(CarriesContentStamp(dir / "other", "content"));
  EXPECT_NE(ContentStampOf("ab"), ContentStampOf("ba"));
}

TEST(CreatePrivateDirectories, NewFoldersAreTheOwnersOnlyAndOldOnesStayAsTheyAre) {
  TempDir dir;
  const Umask mask(0);
  fs::create_directories(dir / "open");
  ::chmod((dir / "open").c_str(), 0755);
  std::error_code cause;
  ASSERT_TRUE(CreatePrivateDirectories(dir / "open" / "a" / "b", cause)) << cause.message();
  EXPECT_EQ(ModeOf(dir / "open"), 0755U);
  EXPECT_EQ(ModeOf(dir / "open" / "a"), 0700U);
  EXPECT_EQ(ModeOf(dir / "open" / "a" / "b"), 0700U);
  EXPECT_TRUE(CreatePrivateDirectories(dir / "open" / "a", cause));

  WriteBytes(dir / "file", "x");
  EXPECT_FALSE(CreatePrivateDirectories(dir / "file" / "sub", cause));
  EXPECT_EQ(cause, std::errc::not_a_directory);
}

}  // namespace
}  // namespace pelorin
