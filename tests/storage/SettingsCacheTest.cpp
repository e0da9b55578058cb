#include "storage/SettingsCache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <thread>
#include <vector>

#include "storage/SettingsFile.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

class SettingsCacheTest : public ::testing::Test {
 protected:
  std::uint64_t Parses() const { return SettingsCache::Instance().ParseCount(); }

  TempDir dir_;
  std::filesystem::path file_ = dir_ / "cached.hif";
};

TEST_F(SettingsCacheTest, NoticesAChangeBehindItsBackWithTheSameSize) {
  WriteBytes(file_, "[S]\r\nK=1\r\n");
  const SettingsFile settings(file_);
  EXPECT_EQ(settings.ReadInteger("S", "K", 0), 1);

  // Rewritten in place with the same size, and the modification time put back.
  struct stat before {};
  ASSERT_EQ(::stat(file_.c_str(), &before), 0);
  WriteBytes(file_, "[S]\r\nK=2\r\n");
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, file_.c_str(), times, 0), 0);
  EXPECT_EQ(settings.ReadInteger("S", "K", 0), 2);

  // Replaced by another file.
  WriteBytes(dir_ / "other.hif", "[S]\r\nK=3\r\n");
  std::filesystem::rename(dir_ / "other.hif", file_);
  EXPECT_EQ(settings.ReadInteger("S", "K", 0), 3);

  std::filesystem::remove(file_);
  EXPECT_EQ(settings.ReadInteger("S", "K", 0), 0);
}

TEST_F(SettingsCacheTest, RepeatedReadsAndReadsAfterOwnWritesDoNotParse) {
  WriteBytes(file_, "[S]\r\nK=1\r\n");
  std::filesystem::create_directory(dir_ / "sub");
  std::filesystem::create_symlink(file_, dir_ / "link.hif");
  SettingsFile settings(file_);
  EXPECT_EQ(settings.ReadInteger("S", "K", 0), 1);

  const auto parsed = Parses();
  EXPECT_EQ(settings.ReadString("s", "k", ""), "1");
  EXPECT_TRUE(SettingsFile(dir_ / "sub" / ".." / "cached.hif").SectionExists("S"));
  EXPECT_EQ(SettingsFile(dir_ / "link.hif").ReadInteger("S", "K", 0), 1);
  EXPECT_EQ(Parses(), parsed);

  settings.WriteInteger("S", "K", 2);
  const auto written = Parses();
  EXPECT_EQ(settings.ReadInteger("S", "K", 0), 2);
  EXPECT_EQ(SettingsFile(dir_ / "link.hif").ReadInteger("S", "K", 0), 2);
  EXPECT_EQ(Parses(), written);

  ClearSettingsCache();
  EXPECT_EQ(settings.ReadInteger("S", "K", 0), 2);
  EXPECT_EQ(Parses(), written + 1);
}

TEST_F(SettingsCacheTest, KeepsOnlyTheMostRecentlyUsedFiles) {
  std::vector<SettingsFile> files;
  for (int i = 0; i < 80; ++i) {
    const auto path = dir_ / ("f" + std::to_string(i) + ".hif");
    WriteBytes(path, "[S]\r\nK=" + std::to_string(i) + "\r\n");
    files.emplace_back(path);
    EXPECT_EQ(files.back().ReadInteger("S", "K", -1), i);
  }
  const auto parsed = Parses();
  EXPECT_EQ(files.back().ReadInteger("S", "K", -1), 79);
  EXPECT_EQ(Parses(), parsed);
  EXPECT_EQ(files.front().ReadInteger("S", "K", -1), 0);
  EXPECT_EQ(Parses(), parsed + 1);
}

TEST_F(SettingsCacheTest, WritersInTwoThreadsLoseNoKey) {
  constexpr int kKeysPerThread = 15;
  const auto writeKeys = [this](const std::string& prefix) {
    SettingsFile settings(file_);
    for (int i = 0; i < kKeysPerThread; ++i) {
      settings.WriteInteger("S", prefix + std::to_string(i), i);
      settings.ReadSection("S");
    }
  };
  std::thread first(writeKeys, "A");
  std::thread second(writeKeys, "B");
  first.join();
  second.join();
  EXPECT_EQ(SettingsFile(file_).ReadSection("S").size(), 2u * kKeysPerThread);
}

}  // namespace
}  // namespace pelorin
