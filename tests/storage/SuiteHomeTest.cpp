#include "storage/SuiteHome.h"

#include <gtest/gtest.h>

#include <map>

#include "sim/SimLog.h"
#include "storage/Scrambler.h"
#include "storage/SuiteLayout.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

HomeSources Sources(std::map<std::string, std::string> env, fs::path exeDir = "/nowhere/bin",
                    std::optional<fs::path> commandLine = std::nullopt) {
  return {commandLine, exeDir, [env](const char* name) -> std::optional<std::string> {
            auto it = env.find(name);
            if (it == env.end()) return std::nullopt;
            return it->second;
          }};
}

TEST(ResolveHome, FollowsTheOrderOfChoice) {
  TempDir portable;
  WriteBytes(portable / "pelorin.hf", "x");
  const std::map<std::string, std::string> full = {
      {"PELORIN_HOME", "/srv/ph"}, {"XDG_DATA_HOME", "/xdg"}, {"HOME", "/home/u"}};
  EXPECT_EQ(ResolveHome(Sources(full, portable.path(), fs::path("/cli/home"))), "/cli/home");
  EXPECT_EQ(ResolveHome(Sources(full, portable.path())), "/srv/ph");
  auto noEnvHome = full;
  noEnvHome.erase("PELORIN_HOME");
  EXPECT_EQ(ResolveHome(Sources(noEnvHome, portable.path())), fs::canonical(portable.path()));
  EXPECT_EQ(ResolveHome(Sources(noEnvHome)), "/xdg/pelorin");
  EXPECT_EQ(ResolveHome(Sources({{"XDG_DATA_HOME", "relative"}, {"HOME", "/home/u"}})),
            "/home/u/.local/share/pelorin");
  EXPECT_EQ(ResolveHome(Sources({{"PELORIN_HOME", ""}, {"HOME", "/home/u"}})),
            "/home/u/.local/share/pelorin");
  EXPECT_EQ(DeliveredDataDir("/opt/pelorin/bin"), "/opt/pelorin/share/pelorin");
}

TEST(SeedHome, NewHomeGetsDeliveredFilesAndTheLeastSystemSettings) {
  TempDir root;
  WriteBytes(root / "share/System/Snd/ring.wav", "RIFF");
  WriteBytes(root / "share/System/keyboard.hif", "[0]\r\n");
  const fs::path home = root / "home/new";
  WriteBytes(home / "System/keyboard.hif", "mine");  // a file already there is kept

  sim::SimLog log;
  std::string error;
  ASSERT_EQ(SeedHome(home, root / "share", log, &error), SeedResult::Seeded) << error;
  EXPECT_EQ(ReadBytes(home / "System/Snd/ring.wav"), "RIFF");
  EXPECT_EQ(ReadBytes(home / "System/keyboard.hif"), "mine");
  const auto plain = UnscrambleBlock(ReadBytes(home / "pelorin.hf"), 857);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(*plain, "[SYSTEM]\r\nFILEOK=OK\r\n");
  EXPECT_FALSE(fs::exists(SuiteLayout(home).SystemSettingsCopy()));

  // Seeding again, or seeding a home that has profiles but lost pelorin.hf, does nothing.
  EXPECT_EQ(SeedHome(home, root / "share", log), SeedResult::Existing);
  fs::remove(home / "pelorin.hf");
  fs::create_directories(home / "Profiles/Master");
  EXPECT_EQ(SeedHome(home, root / "share", log), SeedResult::Existing);
  EXPECT_FALSE(fs::exists(home / "pelorin.hf"));
}

TEST(SeedHome, UnusableFolderFailsWithAMessage) {
  TempDir root;
  WriteBytes(root / "file", "x");
  sim::SimLog log;
  std::string error;
  EXPECT_EQ(SeedHome(root / "file/home", root / "share", log, &error), SeedResult::Failed);
  EXPECT_NE(error.find("file/home"), std::string::npos);
}

}  // namespace
}  // namespace pelorin
