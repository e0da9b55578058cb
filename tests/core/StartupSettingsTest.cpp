#include "core/StartupSettings.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/SettingsFile.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kProfiles =
    "[Profile1]\r\nName=Master\r\nPath=Master\r\nAuto=boss\r\n"
    "[Profile2]\r\nName=Anna\r\nPath=Anna\r\nPass=a1\r\nType=0\r\nAuto=Anna\r\n"
    "[Profile3]\r\nName=Guest\r\nPath=Guest\r\n";

TEST(StartupSettingsTest, StartProfileByNumberOrByTheLogonName) {
  struct Case {
    const char* system;
    const char* logon;
    int number;
    const char* path;
  };
  const Case cases[] = {
      {"CurrentProfile=2\r\nProfilesCount=3\r\n", "boss", 2, "Anna"},
      {"CurrentProfile=1\r\nProfilesCount=3\r\nAutoProfile=1\r\n", "anna", 2, "Anna"},
      // An empty logon name picks the first profile without an Auto name.
      {"CurrentProfile=1\r\nProfilesCount=3\r\nAutoProfile=1\r\n", "", 3, "Guest"},
      {"CurrentProfile=3\r\nProfilesCount=3\r\nAutoProfile=1\r\n", "nobody", 3, "Guest"},
      // Profiles beyond the count are not looked at.
      {"CurrentProfile=1\r\nProfilesCount=1\r\nAutoProfile=1\r\n", "anna", 1, "Master"},
      // A profile without a section reads as the defaults.
      {"CurrentProfile=7\r\nProfilesCount=3\r\n", "", 7, "Master"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    const auto file = dir / "pelorin.hif";
    WriteBytes(file, std::string("[System]\r\n") + c.system + kProfiles);
    const StartupSettings s = StartupSettings::Read(SettingsFile(file), c.logon);
    EXPECT_EQ(s.StartProfile.number, c.number) << c.system << " / " << c.logon;
    EXPECT_EQ(s.StartProfile.path, c.path) << c.system << " / " << c.logon;
  }
}

TEST(StartupSettingsTest, ProfileDetailsAndOptions) {
  TempDir dir;
  const auto file = dir / "pelorin.hif";
  WriteBytes(file, std::string("[System]\r\nCurrentProfile=2\r\nProfilesCount=0\r\n"
                               "SplashScreen=0\r\nMenuKey=1113\r\nTrayIcon=0\r\nPriority=7\r\n") +
                       kProfiles);
  const StartupSettings s = StartupSettings::Read(SettingsFile(file), "");
  EXPECT_EQ(s.StartProfile.name, "Anna");
  EXPECT_EQ(s.StartProfile.type, 0);
  EXPECT_EQ(s.StartProfilePass, "a1");
  EXPECT_EQ(s.ProfilesCount, 1);  // at least one
  EXPECT_FALSE(s.SplashScreen);
  EXPECT_FALSE(s.TrayIcon);
  EXPECT_EQ(s.MenuKey, (THotkey{113, 1, 0, 0, 0}));  // Ctrl + F2
  EXPECT_FALSE(s.Priority.has_value());

  WriteBytes(file, "[System]\r\nProfilesCount=2000000000\r\nMenuKey=70000\r\n");
  const StartupSettings damaged = StartupSettings::Read(SettingsFile(file), "");
  EXPECT_EQ(damaged.ProfilesCount, StartupSettings::kMaxProfiles);
  EXPECT_EQ(damaged.MenuKey, THotkey{});
  EXPECT_EQ(damaged.Priority, ports::ProcessPriority::Normal);
}

}  // namespace
}  // namespace pelorin
