#include <gtest/gtest.h>

#include <string>

#include "common/Hotkeys.h"
#include "core/StartupScenario.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "prefs/TF_Profile.h"
#include "prefs/TF_SProfile.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using testing::StartupScenario;
using testing::SuiteProcess;

constexpr int kKeyM = 0x4D;
constexpr unsigned kCtrlShift = 2 | 4;
constexpr int kSecondProfilePosition = 3;  // "Profiles...", a separator, Master, Work

// Master and a second profile "Work" (password "pw") made with the profile editor,
// and a menu key, so that the registration of hot-keys shows.
class ProfileSwitch : public StartupScenario {
 protected:
  void SetUp() override {
    Install();
    THotkey menuKey;
    menuKey.Key = kKeyM;
    menuKey.Ctrl = 1;
    menuKey.Shift = 1;
    SetSystemValue("System", "MenuKey", std::to_string(HotkeyToCode(menuKey)));
    SuiteProcess p(home.path());
    p.StartUp();
    TF_Profile& editor = p.suite.profileEditor();
    editor.FormShow();
    editor.AddBtnClick();
    editor.ProName = "Work desk";
    editor.ProPath = "Work";
    editor.ProPass = "pw";
    editor.AddBtnClick();
    editor.FormClose();
    ASSERT_EQ(p.values().ProfilesCount, 2);
    p.suite.main().EndSession();
  }

  static bool MenuKeyRegistered(SuiteProcess& p) {
    for (const auto& [id, combination] : p.hotkeys.Registered()) {
      if (combination.virtualKey == kKeyM && combination.modifiers == kCtrlShift) return true;
    }
    return false;
  }
  SettingsFile PlainOf(std::string_view profile, std::string_view name) const {
    return SettingsFile(SuiteLayout(home.path()).ProfileDir(profile) /
                        (std::string(name) + ".hif"));
  }
};

TEST_F(ProfileSwitch, CancelKeepsTheOldProfileAndItsKeys) {
  SuiteProcess p(home.path());
  p.StartUp();
  ASSERT_TRUE(MenuKeyRegistered(p));
  p.suite.main().MoveMainWindow(200, 100);

  p.suite.commands().ProfilesItemClick(kSecondProfilePosition);
  EXPECT_FALSE(MenuKeyRegistered(p));
  // Leaving Master wrote its strip place into Master's own status.hif.
  EXPECT_EQ(PlainOf("Master", "status").ReadInteger("POSITION", "X", 0), 200);
  ASSERT_TRUE(p.suite.pass().Visible());

  p.suite.pass().OkClick("wrong");
  p.suite.pass().CancelClick();
  p.Advance(200);
  const SharedValues& v = p.values();
  EXPECT_EQ(v.Current.path, "Master");
  EXPECT_TRUE(v.ProfileActive);
  EXPECT_FALSE(v.ProfileSwitchPending);
  EXPECT_TRUE(MenuKeyRegistered(p));
  EXPECT_EQ(v.ProfileDir, SuiteLayout(home.path()).ProfileDir("Master"));

  // A later cancel elsewhere leaves the current profile alone.
  p.values().AC.GEN1 = "general";
  p.dialogs.Expect("Do you really want to close Pelorin?\r(all unsaved data will be saved)",
                   DialogAnswer::Yes);
  p.suite.main().Exit();
  p.suite.pass().CancelClick();
  p.Advance(200);
  EXPECT_EQ(v.Current.path, "Master");
  EXPECT_TRUE(v.ProfileActive);
}

TEST_F(ProfileSwitch, TheRightPasswordLoadsTheNewProfileAndItsFilesTakeTheChanges) {
  SuiteProcess p(home.path());
  p.StartUp();
  p.suite.commands().ProfilesItemClick(kSecondProfilePosition);
  p.suite.pass().OkClick("pw");
  p.Advance(100);
  const SharedValues& v = p.values();
  EXPECT_EQ(v.Current.number, 2);
  EXPECT_EQ(v.Current.name, "Work desk");
  EXPECT_TRUE(v.ProfileActive);
  EXPECT_FALSE(v.ProfileSwitchPending);
  EXPECT_EQ(v.ProfileDir, SuiteLayout(home.path()).ProfileDir("Work"));
  EXPECT_TRUE(MenuKeyRegistered(p));
  EXPECT_EQ(ScrambledValue(SystemFile(), "System", "CurrentProfile"), "2");

  // The strip's place now goes into Work's status.hif, Master's stays as it was.
  p.suite.main().MoveMainWindow(321, 55);
  p.suite.main().EndSession();
  EXPECT_EQ(PlainOf("Work", "status").ReadInteger("POSITION", "X", 0), 321);
  EXPECT_NE(PlainOf("Master", "status").ReadInteger("POSITION", "X", 0), 321);

  // The next start takes the last profile, with its password.
  SuiteProcess again(home.path());
  again.StartUp();
  EXPECT_TRUE(again.suite.pass().Visible());
  again.suite.pass().OkClick("pw");
  again.Advance(100);
  EXPECT_EQ(again.values().Current.path, "Work");
}

TEST_F(ProfileSwitch, ShowProfilesOffersTheSelectionWindowAtStartUp) {
  SetSystemValue("System", "ShowProfiles", "1");
  SetSystemValue("System", "ProfilesCount", "2");
  SuiteProcess p(home.path());
  p.StartUp();
  TF_SProfile& selector = p.suite.selector();
  ASSERT_TRUE(selector.Visible());
  EXPECT_FALSE(p.values().ProfileActive);
  EXPECT_EQ(selector.Names(), (std::vector<std::string>{"Master", "Work desk"}));

  // A cancelled password goes back to the window; the right one starts the profile.
  selector.Select(1);
  selector.OKBtnClick();
  p.suite.pass().CancelClick();
  p.Advance(100);
  EXPECT_TRUE(selector.Visible());
  selector.Select(1);
  selector.OKBtnClick();
  p.suite.pass().OkClick("pw");
  p.Advance(100);
  EXPECT_TRUE(p.values().ProfileActive);
  EXPECT_EQ(p.values().Current.path, "Work");
  EXPECT_FALSE(selector.Visible());
}

TEST_F(ProfileSwitch, RestoringModeSkipsTheSelectionWindowAndThePassword) {
  SetSystemValue("System", "ShowProfiles", "1");
  SetSystemValue("System", "CurrentProfile", "2");
  SuiteProcess p(home.path());
  p.StartUp({"PELORIN.EXE"}, true);
  EXPECT_FALSE(p.suite.selector().Visible());
  EXPECT_TRUE(p.values().ProfileActive);
  EXPECT_EQ(p.values().Current.path, "Work");
}

}  // namespace
}  // namespace pelorin
