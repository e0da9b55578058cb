#include "linux/RestoreToken.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

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
  lnx::InstancePaths paths{dir / "home", {dir.path(), false}, "pelorin-0123456789abcdef"};

  // Makes the token file's age `seconds` (negative: from the future).
  void SetAge(int seconds) {
    const auto when = fs::file_time_type::clock::now() - std::chrono::seconds(seconds);
    fs::last_write_time(paths.RestoreToken(), when);
  }
};

// The read end of a pipe that holds `text`, its write end closed, as the watchdog hands it.
int PipeWith(const std::string& text) {
  int ends[2];
  if (::pipe(ends) != 0) return -1;
  if (::write(ends[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) return -1;
  ::close(ends[1]);
  return ends[0];
}

TEST_F(RestoreTokenTest, AFreshTokenServesTheOneStartThatWasHandedItsSecret) {
  const auto older = lnx::WriteRestoreToken(paths);
  ASSERT_TRUE(older);
  const auto secret = lnx::WriteRestoreToken(paths);  // replaces the older one
  ASSERT_TRUE(secret);
  EXPECT_EQ(secret->size(), 64u);
  EXPECT_NE(*secret, *older);
  struct stat info {};
  ASSERT_EQ(::stat(paths.RestoreToken().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadBytes(paths.RestoreToken()), *secret + "\n");

  const int fd = PipeWith(*secret + "\n");
  const std::string handedOver = lnx::ReadHandedOverSecret(fd);
  EXPECT_EQ(handedOver, *secret);
  EXPECT_EQ(::fcntl(fd, F_GETFD), -1);  // closed

  EXPECT_TRUE(lnx::ConsumeRestoreToken(paths, handedOver));
  EXPECT_FALSE(fs::exists(paths.RestoreToken()));
  EXPECT_FALSE(lnx::ConsumeRestoreToken(paths, handedOver));
  EXPECT_EQ(fs::directory_iterator(dir.path()), fs::directory_iterator());  // no leftovers
}

TEST_F(RestoreTokenTest, ATokenWhoseSecretWasNotHandedOverOpensNothingAndIsDeleted) {
  struct Case {
    const char* what;
    std::string (*handed)(const std::string& secret);
  };
  const Case cases[] = {
      {"no secret at all", [](const std::string&) { return std::string(); }},
      {"an older token's secret",
       [](const std::string& s) { return std::string(s.rbegin(), s.rend()); }},
      {"one digit changed",
       [](const std::string& s) { return (s[0] == '0' ? "1" : "0") + s.substr(1); }},
      {"a prefix", [](const std::string& s) { return s.substr(0, 32); }},
      {"with more after it", [](const std::string& s) { return s + "00"; }},
  };
  for (const Case& c : cases) {
    const auto secret = lnx::WriteRestoreToken(paths);
    ASSERT_TRUE(secret);
    EXPECT_FALSE(lnx::ConsumeRestoreToken(paths, c.handed(*secret))) << c.what;
    EXPECT_FALSE(fs::exists(paths.RestoreToken())) << c.what;
  }
  // A file of the right form that the watchdog did not write for this start: the secret
  // that a starter makes up is refused too.
  const std::string madeUp(64, 'a');
  WriteBytes(paths.RestoreToken(), madeUp + "x\n");
  ::chmod(paths.RestoreToken().c_str(), 0600);
  EXPECT_FALSE(lnx::ConsumeRestoreToken(paths, madeUp));
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
    const auto secret = lnx::WriteRestoreToken(paths);
    ASSERT_TRUE(secret);
    ::chmod(paths.RestoreToken().c_str(), c.mode);
    SetAge(c.ageSeconds);
    EXPECT_EQ(lnx::ConsumeRestoreToken(paths, *secret), c.valid) << c.what;
    EXPECT_FALSE(fs::exists(fs::symlink_status(paths.RestoreToken()))) << c.what;
  }

  // A link to a valid token is no token; the link goes, its target stays.
  const auto secret = lnx::WriteRestoreToken(paths);
  ASSERT_TRUE(secret);
  const fs::path elsewhere = dir / "elsewhere";
  fs::rename(paths.RestoreToken(), elsewhere);
  fs::create_symlink(elsewhere, paths.RestoreToken());
  EXPECT_FALSE(lnx::ConsumeRestoreToken(paths, *secret));
  EXPECT_FALSE(fs::exists(fs::symlink_status(paths.RestoreToken())));
  EXPECT_TRUE(fs::exists(elsewhere));

  fs::create_directory(paths.RestoreToken());
  EXPECT_FALSE(lnx::ConsumeRestoreToken(paths, *secret));
  EXPECT_FALSE(fs::exists(paths.RestoreToken()));

  if (::geteuid() == 0) {  // only root can give a file away
    const auto given = lnx::WriteRestoreToken(paths);
    ASSERT_TRUE(given);
    ASSERT_EQ(::chown(paths.RestoreToken().c_str(), 4242, 4242), 0);
    EXPECT_FALSE(lnx::ConsumeRestoreToken(paths, *given));
    EXPECT_FALSE(fs::exists(paths.RestoreToken()));
  }
}

TEST_F(RestoreTokenTest, OnlyAPipeIsReadForTheSecretAndEveryDescriptorIsClosed) {
  // A regular file holding a secret (a starter's redirection) is not read.
  WriteBytes(dir / "file", std::string(64, 'a') + "\n");
  const int file = ::open((dir / "file").c_str(), O_RDONLY);
  EXPECT_EQ(lnx::ReadHandedOverSecret(file), "");
  EXPECT_EQ(::fcntl(file, F_GETFD), -1);

  // A pipe whose writer never closes its end gives what is there without waiting.
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ASSERT_EQ(::write(ends[1], "abc\n", 4), 4);
  EXPECT_EQ(lnx::ReadHandedOverSecret(ends[0]), "abc");
  ::close(ends[1]);

  // Too much is no secret.
  EXPECT_EQ(lnx::ReadHandedOverSecret(PipeWith(std::string(1000, 'a'))), "");
  EXPECT_EQ(lnx::ReadHandedOverSecret(-1), "");
}

TEST_F(RestoreTokenTest, WritingFailsCleanlyWhereTheRuntimeDirectoryIsNoDirectory) {
  WriteBytes(dir / "file", "x");
  const lnx::InstancePaths broken{dir / "home", {dir / "file", false}, "pelorin-0123456789abcdef"};
  EXPECT_FALSE(lnx::WriteRestoreToken(broken));
  EXPECT_FALSE(lnx::ConsumeRestoreToken(broken, std::string(64, 'a')));
}

}  // namespace
}  // namespace pelorin
