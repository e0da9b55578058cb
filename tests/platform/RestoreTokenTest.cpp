#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "linux/RestoreToken.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class RestoreTokenTest : public ::testing::Test {
 protected:
  TempDir dir;
  lnx::InstancePaths paths{dir.path(), "pelorin-0123456789abcdef"};

  // Makes the token file's age `seconds` (negative: from the future).
  void SetAge(int seconds) {
    const auto when = fs::file_time_type::clock::now() - std::chrono::seconds(seconds);
    fs::last_write_time(paths.RestoreToken(), when);
  }
};

TEST_F(RestoreTokenTest, AFreshTokenServesOneStart) {
  ASSERT_TRUE(lnx::WriteRestoreToken(paths));
  struct stat info {};
  ASSERT_EQ(::stat(paths.RestoreToken().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  const std::string first = ReadBytes(paths.RestoreToken());
  EXPECT_EQ(first.size(), 65u);  // 32 random bytes in hex and a line end

  ASSERT_TRUE(lnx::WriteRestoreToken(paths));  // replaces the older one
  EXPECT_NE(ReadBytes(paths.RestoreToken()), first);

  EXPECT_TRUE(lnx::ConsumeRestoreToken(paths));
  EXPECT_FALSE(fs::exists(paths.RestoreToken()));
  EXPECT_FALSE(lnx::ConsumeRestoreToken(paths));
  EXPECT_EQ(fs::directory_iterator(dir.path()), fs::directory_iterator());  // no leftovers
}

TEST_F(RestoreTokenTest, OnlyAPrivateRecentRegularFileCountsAndAnyIsDeleted) {
  struct Case {
    const char* what;
    int ageSeconds;
    mode_t mode;
    bool valid;
  };
  const Case cases[] = {
      {"50 seconds old", 50, 0600, true},        {"61 seconds old", 61, 0600, false},
      {"from the future", -600, 0600, false},    {"readable by others", 5, 0644, false},
      {"readable by the group", 5, 0640, false}, {"read-only", 5, 0400, false},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(lnx::WriteRestoreToken(paths));
    ::chmod(paths.RestoreToken().c_str(), c.mode);
    SetAge(c.ageSeconds);
    EXPECT_EQ(lnx::ConsumeRestoreToken(paths), c.valid) << c.what;
    EXPECT_FALSE(fs::exists(fs::symlink_status(paths.RestoreToken()))) << c.what;
  }

  // A link to a valid token is no token; the link goes, its target stays.
  const fs::path elsewhere = dir / "elsewhere";
  WriteBytes(elsewhere, "0123\n");
  ::chmod(elsewhere.c_str(), 0600);
  fs::create_symlink(elsewhere, paths.RestoreToken());
  EXPECT_FALSE(lnx::ConsumeRestoreToken(paths));
  EXPECT_FALSE(fs::exists(fs::symlink_status(paths.RestoreToken())));
  EXPECT_TRUE(fs::exists(elsewhere));

  fs::create_directory(paths.RestoreToken());
  EXPECT_FALSE(lnx::ConsumeRestoreToken(paths));
  EXPECT_FALSE(fs::exists(paths.RestoreToken()));

  if (::geteuid() == 0) {  // only root can give a file away
    ASSERT_TRUE(lnx::WriteRestoreToken(paths));
    ASSERT_EQ(::chown(paths.RestoreToken().c_str(), 4242, 4242), 0);
    EXPECT_FALSE(lnx::ConsumeRestoreToken(paths));
    EXPECT_FALSE(fs::exists(paths.RestoreToken()));
  }
}

TEST_F(RestoreTokenTest, WritingFailsCleanlyWhereTheRuntimeDirectoryIsNoDirectory) {
  WriteBytes(dir / "file", "x");
  const lnx::InstancePaths broken{dir / "file", "pelorin-0123456789abcdef"};
  EXPECT_FALSE(lnx::WriteRestoreToken(broken));
  EXPECT_FALSE(lnx::ConsumeRestoreToken(broken));
}

}  // namespace
}  // namespace pelorin
