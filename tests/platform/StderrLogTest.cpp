#include "linux/StderrLog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "support/TempDir.h"

namespace pelorin {
namespace {

// What StderrLog writes, read back from a file standing in for standard error.
std::string WrittenToStandardError(const std::filesystem::path& file,
                                   const std::function<void()>& write) {
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  std::FILE* target = std::fopen(file.c_str(), "w");
  ::dup2(::fileno(target), STDERR_FILENO);
  write();
  std::fflush(stderr);
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  std::fclose(target);
  return testing::ReadBytes(file);
}

TEST(StderrLog, EachLineNamesTheSuiteAndItsSource) {
  testing::TempDir dir;
  lnx::StderrLog log;
  const std::string written = WrittenToStandardError(dir / "stderr", [&] {
    log.Write("backup", "the backup of /home/a/status.hif is not refreshed");
    log.Write("alsa", "hw:0: snd_mixer_load: Input/output error");
  });
  EXPECT_EQ(written,
            "pelorin: backup: the backup of /home/a/status.hif is not refreshed\n"
            "pelorin: alsa: hw:0: snd_mixer_load: Input/output error\n");
}

}  // namespace
}  // namespace pelorin
