#include "linux/RuntimeFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/FileModes.h"
#include "support/TempDir.h"

namespace pelorin::lnx {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

mode_t ModeOf(const fs::path& path) {
  return testing::ModeOf(path, /*ofLink=*/true);
}

TEST(RuntimeFolder, TheSessionsFolderIsUsedWhenItIsAnAbsolutePath) {
  const RuntimeFolder session = ChooseRuntimeFolder("/run/user/1000", "/tmp");
  EXPECT_EQ(session.path, "/run/user/1000");
  EXPECT_FALSE(session.fallback);
  const fs::path fallback = "/tmp/pelorin-" + std::to_string(::getuid());
  for (const char* value : {static_cast<const char*>(nullptr), "", "relative/run"}) {
    const RuntimeFolder chosen = ChooseRuntimeFolder(value, "/tmp");
    EXPECT_EQ(chosen.path, fallback) << (value ? value : "unset");
    EXPECT_TRUE(chosen.fallback);
  }
}

TEST(RuntimeFolder, AMissingFallbackIsCreatedForTheOwnerOnly) {
  TempDir parent;
  const RuntimeFolder folder = ChooseRuntimeFolder(nullptr, parent.path());
  const mode_t oldMask = ::umask(0277);  // an umask that would even take the owner's bits
  const std::string distrust = SecureRuntimeFolder(folder);
  ::umask(oldMask);
  EXPECT_EQ(distrust, "");
  EXPECT_TRUE(fs::is_directory(folder.path));
  EXPECT_EQ(ModeOf(folder.path), 0700u);
  EXPECT_EQ(SecureRuntimeFolder(folder), "");  // found as made
}

TEST(RuntimeFolder, AFallbackThatAnotherUserCouldHavePreparedIsRefusedAndLeftAlone) {
  TempDir parent;
  const RuntimeFolder folder = ChooseRuntimeFolder(nullptr, parent.path());
  const fs::path target = parent / "elsewhere";
  fs::create_directory(target);
  ::chmod(target.c_str(), 0700);

  struct Case {
    const char* what;
    std::function<void()> prepare;
    const char* reason;
  };
  const Case cases[] = {
      {"a link to a private folder", [&] { fs::create_directory_symlink(target, folder.path); },
       "is a link"},
      {"a file", [&] { testing::WriteBytes(folder.path, "x"); }, "cannot open"},
      {"mode 0755",
       [&] {
         fs::create_directory(folder.path);
         ::chmod(folder.path.c_str(), 0755);
       },
       "has mode 0755 instead of 0700"},
      {"mode 0777 with the sticky bit",
       [&] {
         fs::create_directory(folder.path);
         ::chmod(folder.path.c_str(), 01777);
       },
       "has mode 1777"},
      {"mode 0500",
       [&] {
         fs::create_directory(folder.path);
         ::chmod(folder.path.c_str(), 0500);
       },
       "has mode 0500"},
  };
  for (const Case& c : cases) {
    c.prepare();
    const fs::file_status before = fs::symlink_status(folder.path);
    const std::string distrust = SecureRuntimeFolder(folder);
    EXPECT_NE(distrust.find(folder.path.string()), std::string::npos) << c.what << ": " << distrust;
    EXPECT_NE(distrust.find(c.reason), std::string::npos) << c.what << ": " << distrust;
    EXPECT_EQ(fs::symlink_status(folder.path).permissions(), before.permissions()) << c.what;
    fs::remove_all(folder.path);
  }
  EXPECT_EQ(ModeOf(target), 0700u);

  if (::geteuid() == 0) {  // only root can give a folder away
    fs::create_directory(folder.path);
    ::chmod(folder.path.c_str(), 0700);
    ASSERT_EQ(::chown(folder.path.c_str(), 4242, 4242), 0);
    EXPECT_NE(SecureRuntimeFolder(folder).find("belongs to another user (uid 4242)"),
              std::string::npos);
  }
}

TEST(RuntimeFolder, TheSessionsFolderMustExistBeOwnedAndWritableByTheUserAlone) {
  TempDir parent;
  const fs::path session = parent / "session";
  const RuntimeFolder folder = ChooseRuntimeFolder(session.c_str(), "/tmp");
  EXPECT_NE(SecureRuntimeFolder(folder).find("No such file or directory"), std::string::npos);
  EXPECT_FALSE(fs::exists(session));  // never created

  fs::create_directory(session);
  for (const mode_t mode : {0700, 0755, 0711}) {  // readable by others is the session's call
    ::chmod(session.c_str(), mode);
    EXPECT_EQ(SecureRuntimeFolder(folder), "") << std::oct << mode;
  }
  for (const mode_t mode : {0770, 0777, 0702}) {
    ::chmod(session.c_str(), mode);
    EXPECT_NE(SecureRuntimeFolder(folder).find("others can write in it"), std::string::npos)
        << std::oct << mode;
  }
  ::chmod(session.c_str(), 0700);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(session.c_str(), 4242, 4242), 0);
    EXPECT_NE(SecureRuntimeFolder(folder).find("belongs to another user"), std::string::npos);
  }
}

}  // namespace
}  // namespace pelorin::lnx
