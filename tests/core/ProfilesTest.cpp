#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Files.h"
#include "core/MainMenu.h"
#include "core/MenuItemIds.h"
#include "core/ProfileTable.h"
#include "core/SuiteOnSim.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "prefs/TF_Profile.h"
#include "prefs/TF_SProfile.h"
#include "storage/SettingsFile.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ports::DialogAnswer;
using ports::DialogIcon;
using testing::ReadBytes;
using testing::SuiteOnSim;
using testing::WriteBytes;

constexpr const char* kNoValue = "<none>";
constexpr const char* kDeleteQuestion = "Deleting. Are you sure?";
constexpr const char* kReinitQuestion =
    "To accept changes Pelorin will re-initialize this profile. Continue?";
constexpr const char* kFolderTaken = "Cannot change profile folder - already exists!";

// Three profiles: Master (Full access, no password), Kid (Particular access) and Guest.
// Guest has no Auto key, so that moving it onto Kid's section shows whether Kid's
// value is left behind.
constexpr const char* kThreeProfiles =
    "[Profile1]\r\nName=Master\r\nPath=Master\r\nPass=\r\nType=1\r\nAuto=\r\n"
    "[Profile2]\r\nName=Kid\r\nPath=Kid\r\nPass=kid\r\nType=0\r\nAuto=kiduser\r\n"
    "[Profile3]\r\nName=Guest\r\nPath=Guest\r\nPass=guest\r\nType=1\r\n";

// The suite on simulated ports with the profile windows of this test and a profile
// table; every profile has its folder with a settings file, its Data folder with a
// page and its backup folder.
class Profiles : public ::testing::Test {
 protected:
  Profiles() = default;

  CoreContext& ctx() { return sim.suite.context(); }
  SharedValues& values() { return sim.suite.values(); }
  const SuiteLayout& layout() { return ctx().layout; }

  // The table with `system` as the System section's extra lines; profile `current` is
  // the one in use.
  void UseTable(int current, const std::string& system = "",
                const std::string& profiles = kThreeProfiles) {
    sim.WriteSystemSettings("[System]\r\nProfilesCount=3\r\nCurrentProfile=" +
                            std::to_string(current) + "\r\n" + system + profiles);
    for (const char* folder : {"Master", "Kid", "Guest"})
      MakeProfileFolders(folder);
    ASSERT_TRUE(ctx().files.CreateEmptyProfileFiles(layout().ProfileDir("Master")));
    ctx().files.ReadSystemSettings([&](const SettingsFile& table) {
      values().Current = ReadProfileEntry(table, current).identity;
      sim.suite.menu().RebuildProfilesSubmenu(table, 3);
    });
    values().ProfilesCount = 3;
    values().ProfileDir = layout().ProfileDir(values().Current.path);
  }
  void MakeProfileFolders(const std::string& folder) {
    WriteBytes(layout().ProfileDir(folder) / "note.hif", "[SYSTEM]\r\n");
    WriteBytes(layout().ProfileDataDir(folder) / "Note00", "page");
    WriteBytes(layout().ProfileBackupDir(folder) / "note00.bk", "[SYSTEM]\r\n");
  }

  std::string Table(const std::string& section, const std::string& key) {
    std::string value;
    ctx().files.ReadSystemSettings(
        [&](const SettingsFile& table) { value = table.ReadString(section, key, kNoValue); });
    return value;
  }
  std::vector<std::string> ProfileItems() {
    std::vector<std::string> captions;
    const std::vector<MenuItem>& items = sim.suite.menu().Item(menu_item::kProfile).children;
    for (std::size_t i = 2; i < items.size(); ++i)
      captions.push_back(items[i].caption + (items[i].checked ? " *" : ""));
    return captions;
  }
  const ports::MessageRequest& LastAsked() { return sim.dialogs.Asked().back(); }
  static std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Opens the editor with profile `index` + 1 selected.
  void Select(int index) {
    editor.FormShow();
    editor.ProListClick(index);
  }

  SuiteOnSim sim;
  TF_Profile& editor = sim.suite.profileEditor();
  TF_SProfile& selector = sim.suite.selector();
};

// ---- The selection window ----

TEST_F(Profiles, SelectionWindowListsTheProfilesWithTheCurrentOneChosen) {
  for (const bool blockCancel : {false, true}) {
    SCOPED_TRACE(blockCancel ? "BlockCancel" : "Cancel allowed");
    UseTable(2, "", "[Profile1]\r\nName=Master\r\n[Profile2]\r\nPath=Kid\r\n[Profile3]\r\n");
    values().BlockCancel = blockCancel;
    selector.Show();
    EXPECT_TRUE(selector.Visible());
    EXPECT_EQ(selector.Names(), (std::vector<std::string>{"Master", "Хозяин", "Хозяин"}));
    EXPECT_EQ(selector.Selected(), 1);
    EXPECT_EQ(selector.CancelEnabled(), !blockCancel);
    if (blockCancel) {
      // Neither Cancel nor the window's close button ends the suite or leaves it
      // without the window.
      selector.CancelBtnClick();
      selector.CloseButtonClick();
      EXPECT_TRUE(selector.Visible());
      EXPECT_FALSE(sim.suite.main().Ended());
    }
    selector.FormClose();
  }
}

TEST_F(Profiles, SelectionWindowOkAsksThePasswordOfTheChosenProfile) {
  UseTable(1, "BlockCancel=1\r\n");
  values().BlockCancel = true;
  values().StartupSelection = true;
  values().ProfileActive = false;
  selector.Show();
  selector.Select(2);
  selector.OKBtnClick();

  EXPECT_FALSE(selector.Visible());
  EXPECT_EQ(Table("System", "CurrentProfile"), "3");
  EXPECT_EQ(values().Current.number, 3);
  EXPECT_EQ(values().Current.path, "Guest");
  EXPECT_EQ(values().Current.name, "Guest");
  EXPECT_EQ(values().CurrentPass, "guest");
  EXPECT_TRUE(values().StartupSelection);
  EXPECT_TRUE(values().FromSelector);
  const TF_Pass& pass = sim.suite.pass();
  EXPECT_TRUE(pass.Visible());
  EXPECT_EQ(pass.Text(), "Enter password for selected profile.");
  EXPECT_EQ(pass.PendingAction(), TF_Pass::kProfileChange);
  EXPECT_FALSE(pass.CancelEnabled());  // as the selection window's Cancel
}

TEST_F(Profiles, SelectionWindowOkWithoutPasswordStartsTheProfile) {
  UseTable(3);
  values().StartupSelection = true;
  values().ProfileActive = false;
  selector.Show();
  selector.Select(0);
  selector.OKBtnClick();
  EXPECT_FALSE(sim.suite.pass().Visible());
  sim.timers.Advance(100);
  EXPECT_TRUE(values().ProfileActive);
  EXPECT_FALSE(values().StartupSelection);
  EXPECT_EQ(values().ProfileDir, layout().ProfileDir("Master"));
  EXPECT_EQ(Table("System", "CurrentProfile"), "1");
  EXPECT_EQ(ProfileItems(), (std::vector<std::string>{"Master *", "Kid", "Guest"}));
}

TEST_F(Profiles, PassProfileSkipsThePasswordOfTheChosenProfile) {
  UseTable(1);
  values().PassProfile = true;
  selector.Show();
  selector.Select(2);
  selector.OKBtnClick();
  EXPECT_FALSE(sim.suite.pass().Visible());
  EXPECT_EQ(sim.suite.pass().PendingAction(), TF_Pass::kProfileChange);
}

TEST_F(Profiles, SelectionWindowCancelEndsTheSuite) {
  UseTable(1);
  selector.Show();
  selector.CancelBtnClick();
  EXPECT_FALSE(selector.Visible());
  EXPECT_TRUE(sim.suite.main().Ended());
  EXPECT_EQ(sim.view.endProcessCalls, 1);
}

TEST_F(Profiles, CancellingTheChosenProfilesPasswordReturnsToTheSelectionWindow) {
  UseTable(1);
  values().StartupSelection = true;
  values().ProfileActive = false;
  selector.Show();
  selector.Select(1);
  selector.OKBtnClick();
  ASSERT_TRUE(sim.suite.pass().Visible());
  sim.suite.pass().OkClick("wrong");
  sim.suite.pass().CancelClick();
  EXPECT_TRUE(selector.Visible());
  EXPECT_FALSE(sim.suite.main().Ended());
  sim.timers.Advance(200);
  EXPECT_EQ(sim.suite.pass().PendingAction(), TF_Pass::kNone);
  EXPECT_FALSE(values().ProfileActive);
}

// ---- The folder rule ----

TEST(ProfileFolderName, RefusesEmptyNamesAndTheReservedCharacters) {
  const struct {
    const char* name;
    bool valid;
  } cases[] = {
      {"Kid", true},  {"a=b", true},  {"Дети", true}, {"with space", true}, {"", false},
      {"a.b", false}, {"c:d", false}, {".", false},   {"..", false},        {"a\\b", false},
      {"a/b", false}, {"a;b", false}, {"a*b", false}, {"a<b", false},       {"a?b", false},
      {"a>b", false}, {"a|b", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TF_Profile::ValidFolderName(c.name), c.valid) << '"' << c.name << '"';
  }
}

// ---- Show and select ----

TEST_F(Profiles, FullAccessManagesEveryProfile) {
  UseTable(1);
  values().CenterWindows = true;
  editor.FormShow();
  EXPECT_TRUE(editor.Visible());
  EXPECT_TRUE(editor.Centered());
  EXPECT_EQ(editor.Rows(), (std::vector<std::string>{"Master", "Kid", "Guest"}));
  EXPECT_EQ(editor.Selected(), -1);
  EXPECT_TRUE(editor.AddEnabled() && editor.DeleteEnabled());
  EXPECT_TRUE(editor.ProTypeEnabled() && editor.ProAutoEnabled());
  EXPECT_FALSE(editor.ApplyEnabled());  // nothing selected

  editor.ProListClick(1);
  EXPECT_TRUE(editor.PanelVisible());
  EXPECT_TRUE(editor.ApplyEnabled());
  EXPECT_EQ(editor.ProName, "Kid");
  EXPECT_EQ(editor.ProPath, "Kid");
  EXPECT_EQ(editor.ProPass, "kid");
  EXPECT_EQ(editor.ProAuto, "kiduser");
  EXPECT_EQ(editor.ProType, TF_Profile::kParticularAccess);
  EXPECT_TRUE(editor.PasswordMasked());  // another profile's password

  editor.ProListClick(0);
  EXPECT_FALSE(editor.PasswordMasked());

  editor.ProListClick(-1);
  EXPECT_EQ(editor.ProName, "");
  EXPECT_EQ(editor.ProType, TF_Profile::kFullAccess);
  EXPECT_FALSE(editor.PasswordMasked());
}

TEST_F(Profiles, ParticularAccessSeesOnlyItsOwnDetails) {
  UseTable(2);
  editor.FormShow();
  EXPECT_FALSE(editor.AddEnabled() || editor.DeleteEnabled());
  EXPECT_FALSE(editor.ProTypeEnabled() || editor.ProAutoEnabled());

  editor.ProListClick(2);  // Guest
  EXPECT_FALSE(editor.PanelVisible());
  EXPECT_FALSE(editor.ApplyEnabled());
  EXPECT_EQ(editor.ProPass, "");  // not even behind the hidden panel
  EXPECT_EQ(editor.ProName, "");

  // Add, Delete and Apply on another profile do nothing.
  editor.AddBtnClick();
  EXPECT_FALSE(editor.AddStep());
  editor.DeleteBtnClick();
  editor.ApplyBtnClick();
  EXPECT_EQ(sim.dialogs.Asked().size(), 0u);
  EXPECT_EQ(Table("System", "ProfilesCount"), "3");

  editor.ProListClick(1);  // its own
  EXPECT_TRUE(editor.PanelVisible());
  EXPECT_TRUE(editor.ApplyEnabled());
  EXPECT_EQ(editor.ProPass, "kid");
  EXPECT_FALSE(editor.PasswordMasked());
  editor.ProPass = "newkid";
  editor.ApplyBtnClick();
  EXPECT_EQ(Table("Profile2", "Pass"), "newkid");
  EXPECT_EQ(Table("Profile2", "Type"), "0");  // its access level is never written
}

// ---- Add ----

TEST_F(Profiles, AddTakesTwoStepsAndCreatesTheProfile) {
  UseTable(1);
  editor.FormShow();
  editor.ProListClick(1);
  editor.AddBtnClick();
  EXPECT_TRUE(editor.AddStep());
  EXPECT_EQ(editor.ProName, "");
  EXPECT_EQ(editor.ProType, TF_Profile::kFullAccess);
  EXPECT_FALSE(editor.ApplyEnabled());
  EXPECT_FALSE(editor.ListEnabled());
  EXPECT_EQ(editor.DeleteHint(), "Cancel");
  EXPECT_EQ(editor.NameFocusRequests(), 1);

  // A folder that exists already keeps the add step.
  editor.ProName = "Second kid";
  editor.ProPath = "Kid";
  sim.dialogs.Expect("Folder with this name is already exists!", DialogAnswer::Ok);
  editor.AddBtnClick();
  EXPECT_EQ(LastAsked().caption, "Pelorin");
  EXPECT_EQ(LastAsked().icon, DialogIcon::Error);
  EXPECT_TRUE(editor.AddStep());
  EXPECT_EQ(Table("System", "ProfilesCount"), "3");

  editor.ProPath = "Kid=2";
  editor.ProPass = "pw";
  editor.ProAuto = "bob";
  editor.ProType = TF_Profile::kParticularAccess;
  editor.AddBtnClick();
  EXPECT_FALSE(editor.AddStep());
  EXPECT_TRUE(editor.ListEnabled());
  EXPECT_EQ(editor.DeleteHint(), "Delete");
  EXPECT_EQ(sim.dialogs.Pending(), 0u);

  EXPECT_EQ(Table("System", "ProfilesCount"), "4");
  EXPECT_EQ(Table("Profile4", "Name"), "Second kid");
  EXPECT_EQ(Table("Profile4", "Path"), "Kid=2");
  EXPECT_EQ(Table("Profile4", "Pass"), "pw");
  EXPECT_EQ(Table("Profile4", "Type"), "0");
  EXPECT_EQ(Table("Profile4", "Auto"), "bob");
  EXPECT_EQ(values().ProfilesCount, 4);
  EXPECT_FALSE(fs::exists(layout().SystemSettingsCopy()));
  EXPECT_TRUE(fs::exists(layout().BackupDir() / "pelorin.bk"));

  const fs::path folder = layout().ProfileDir("Kid=2");
  EXPECT_TRUE(fs::is_directory(folder / "Data"));
  for (const char* name : {"main.hf", "wimcdax2.hf", "wimpcax2.hf"})
    EXPECT_TRUE(fs::exists(folder / name)) << name;
  const SettingsFile mixerfly(folder / "mixerfly.hif");
  EXPECT_EQ(mixerfly.ReadInteger("MIXER", "MixID", 0), -1);
  EXPECT_EQ(mixerfly.ReadString("MIXER", "MixName", kNoValue), "");
  EXPECT_EQ(mixerfly.ReadInteger("MIXER", "DestID", 0), -1);
  EXPECT_EQ(mixerfly.ReadString("MIXER", "DestName", kNoValue), "");
  EXPECT_EQ(mixerfly.ReadInteger("MIXER", "SourceID", 0), -1);
  EXPECT_EQ(mixerfly.ReadString("MIXER", "SourceName", kNoValue), "");

  EXPECT_EQ(editor.Rows().back(), "Second kid");
  EXPECT_EQ(editor.Selected(), 3);
  EXPECT_EQ(ProfileItems(), (std::vector<std::string>{"Master *", "Kid", "Guest", "Second kid"}));
}

TEST_F(Profiles, AddWithABadNameOrFolderAddsNothingAndSaysNothing) {
  const struct {
    const char* name;
    const char* path;
  } cases[] = {{"", "Empty"}, {"Dotted", "a.b"}, {"Colon", "c:"}, {"Two\nlines", "Lines"}};
  UseTable(1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    editor.FormShow();
    editor.AddBtnClick();
    editor.ProName = c.name;
    editor.ProPath = c.path;
    editor.AddBtnClick();
    EXPECT_FALSE(editor.AddStep());
    EXPECT_EQ(Table("System", "ProfilesCount"), "3");
    EXPECT_EQ(Table("Profile4", "Name"), kNoValue);
    EXPECT_EQ(editor.Rows().size(), 3u);
  }
  EXPECT_EQ(sim.dialogs.Asked().size(), 0u);
}

TEST_F(Profiles, DeleteCancelsTheAddStep) {
  UseTable(1);
  Select(2);
  editor.AddBtnClick();
  editor.DeleteBtnClick();
  EXPECT_FALSE(editor.AddStep());
  EXPECT_EQ(editor.ProName, "Guest");  // the selection is shown again
  EXPECT_EQ(sim.dialogs.Asked().size(), 0u);
}

// ---- Delete ----

TEST_F(Profiles, DeletingTheMiddleOfThreeMovesTheLastDown) {
  UseTable(1);
  Select(1);
  sim.dialogs.Expect(kDeleteQuestion, DialogAnswer::Yes);
  editor.DeleteBtnClick();
  EXPECT_EQ(LastAsked().buttons, ports::DialogButtons::YesNo);
  EXPECT_EQ(LastAsked().icon, DialogIcon::Question);

  EXPECT_EQ(Table("System", "ProfilesCount"), "2");
  EXPECT_EQ(Table("Profile2", "Name"), "Guest");
  EXPECT_EQ(Table("Profile2", "Path"), "Guest");
  EXPECT_EQ(Table("Profile2", "Pass"), "guest");
  EXPECT_EQ(Table("Profile2", "Type"), "1");
  EXPECT_EQ(Table("Profile2", "Auto"), kNoValue);  // Kid's user is not left behind
  EXPECT_EQ(Table("Profile3", "Name"), kNoValue);
  EXPECT_EQ(Table("System", "CurrentProfile"), "1");
  EXPECT_FALSE(fs::exists(layout().ProfileDir("Kid")));
  EXPECT_FALSE(fs::exists(layout().ProfileBackupDir("Kid")));
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Guest") / "Note00"));
  EXPECT_EQ(values().ProfilesCount, 2);
  EXPECT_EQ(editor.Rows(), (std::vector<std::string>{"Master", "Guest"}));
  EXPECT_EQ(editor.Selected(), -1);
  EXPECT_EQ(ProfileItems(), (std::vector<std::string>{"Master *", "Guest"}));
}

TEST_F(Profiles, DeletingAProfileBeforeTheCurrentOneKeepsTheCurrentOne) {
  UseTable(3);
  Select(1);
  sim.dialogs.Expect(kDeleteQuestion, DialogAnswer::Yes);
  editor.DeleteBtnClick();
  EXPECT_EQ(values().Current.number, 2);
  EXPECT_EQ(Table("System", "CurrentProfile"), "2");
  EXPECT_EQ(Table("Profile2", "Path"), values().Current.path);
  EXPECT_EQ(ProfileItems(), (std::vector<std::string>{"Master", "Guest *"}));
}

TEST_F(Profiles, DeleteRefusesTheCurrentProfileAndKeepsEverythingOnNo) {
  UseTable(1);
  Select(0);
  sim.dialogs.Expect("You cannot delete current profile!", DialogAnswer::Ok);
  editor.DeleteBtnClick();
  EXPECT_EQ(LastAsked().caption, "Pelorin");
  EXPECT_EQ(LastAsked().icon, DialogIcon::Error);

  editor.ProListClick(1);
  sim.dialogs.Expect(kDeleteQuestion, DialogAnswer::No);
  editor.DeleteBtnClick();
  EXPECT_EQ(sim.dialogs.Pending(), 0u);
  EXPECT_EQ(Table("System", "ProfilesCount"), "3");
  EXPECT_EQ(Table("Profile2", "Name"), "Kid");
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Kid") / "Note00"));
  EXPECT_EQ(editor.Rows().size(), 3u);
}

TEST_F(Profiles, AFolderThatCannotBeDeletedIsReported) {
  UseTable(1);
  WriteBytes(layout().ProfileDir("Kid") / "Extra" / "file", "x");
  Select(1);
  sim.dialogs.Expect(kDeleteQuestion, DialogAnswer::Yes)
      .Expect("Cannot delete profile`s folder!", DialogAnswer::Ok);
  editor.DeleteBtnClick();
  EXPECT_EQ(LastAsked().caption, "Error");
  EXPECT_EQ(LastAsked().icon, DialogIcon::Error);
  EXPECT_EQ(Table("System", "ProfilesCount"), "2");
  EXPECT_FALSE(fs::exists(layout().ProfileDataDir("Kid")));
}

TEST_F(Profiles, DeletingAProfileWithoutItsOwnFolderLeavesTheOtherProfilesFolder) {
  // Profile3 has no Path: it starts from Master's folder, which it must not take along.
  UseTable(1, "",
           "[Profile1]\r\nName=Master\r\nPath=Master\r\n[Profile2]\r\nName=Kid\r\n"
           "Path=Kid\r\n[Profile3]\r\nName=Stray\r\n");
  Select(2);
  sim.dialogs.Expect(kDeleteQuestion, DialogAnswer::Yes)
      .Expect("Cannot delete profile`s folder!", DialogAnswer::Ok);
  editor.DeleteBtnClick();
  EXPECT_EQ(Table("System", "ProfilesCount"), "2");
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Master") / "Note00"));
  EXPECT_TRUE(fs::exists(layout().ProfileBackupDir("Master") / "note00.bk"));
}

// ---- Apply ----

TEST_F(Profiles, ApplyRenamesAnotherProfilesFolders) {
  UseTable(1);
  Select(1);
  editor.ProName = "Kids";
  editor.ProPath = "Kids";
  editor.ProType = TF_Profile::kFullAccess;
  editor.ApplyBtnClick();
  EXPECT_EQ(sim.dialogs.Asked().size(), 0u);
  EXPECT_EQ(Table("Profile2", "Name"), "Kids");
  EXPECT_EQ(Table("Profile2", "Path"), "Kids");
  EXPECT_EQ(Table("Profile2", "Type"), "1");
  EXPECT_FALSE(fs::exists(layout().ProfileDir("Kid")));
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Kids") / "Note00"));
  EXPECT_TRUE(fs::exists(layout().ProfileBackupDir("Kids") / "note00.bk"));
  EXPECT_EQ(editor.Rows()[1], "Kids");
  EXPECT_EQ(ProfileItems(), (std::vector<std::string>{"Master *", "Kids", "Guest"}));
}

TEST_F(Profiles, ApplyNeverRenamesOntoAnExistingFolder) {
  for (const char* target : {"Guest", "Empty"}) {
    SCOPED_TRACE(target);
    UseTable(1);
    fs::create_directories(layout().ProfileDir("Empty"));
    Select(1);
    editor.ProName = "Renamed";
    editor.ProPath = target;
    sim.dialogs.Expect(kFolderTaken, DialogAnswer::Ok);
    editor.ApplyBtnClick();
    EXPECT_EQ(LastAsked().icon, DialogIcon::Error);
    EXPECT_EQ(editor.ProPath, "Kid");
    EXPECT_EQ(Table("Profile2", "Path"), "Kid");
    EXPECT_EQ(Table("Profile2", "Name"), "Renamed");  // the other changes are saved
    EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Kid") / "Note00"));
    EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Guest") / "Note00"));
  }
}

// Folder names are one name whatever their case: "kid" would be a second folder beside
// "Kid" here, and a profile whose own folder is missing still owns its name.
TEST_F(Profiles, FolderNamesThatDifferOnlyInCaseAreTaken) {
  UseTable(1);
  fs::remove_all(layout().ProfileDir("Guest"));
  for (const char* folder : {"KID", "kid", "guest"}) {
    SCOPED_TRACE(folder);
    editor.FormShow();
    editor.AddBtnClick();
    editor.ProName = "Another";
    editor.ProPath = folder;
    sim.dialogs.Expect("Folder with this name is already exists!", DialogAnswer::Ok);
    editor.AddBtnClick();
    EXPECT_TRUE(editor.AddStep());
    editor.FormClose();
  }
  EXPECT_EQ(Table("System", "ProfilesCount"), "3");
  EXPECT_EQ(Entries(layout().ProfilesDir()), (std::vector<std::string>{"Kid", "Master"}));

  for (const char* target : {"MASTER", "guest"}) {
    SCOPED_TRACE(target);
    Select(1);
    editor.ProPath = target;
    sim.dialogs.Expect(kFolderTaken, DialogAnswer::Ok);
    editor.ApplyBtnClick();
    EXPECT_EQ(Table("Profile2", "Path"), "Kid");
  }
  EXPECT_EQ(Entries(layout().ProfilesDir()), (std::vector<std::string>{"Kid", "Master"}));

  // Its own folder may change its case.
  Select(1);
  editor.ProPath = "KID";
  editor.ApplyBtnClick();
  EXPECT_EQ(Table("Profile2", "Path"), "KID");
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("KID") / "Note00"));
  EXPECT_EQ(Entries(layout().ProfilesDir()), (std::vector<std::string>{"KID", "Master"}));
}

// An entry whose Path breaks the folder rule is repaired by giving it a valid name: no
// folder is moved for it (it has none), and an existing name is refused as ever.
TEST_F(Profiles, ApplyGivesADamagedEntryAValidFolderName) {
  UseTable(1);
  sim.WriteSystemSettings(std::string("[System]\r\nProfilesCount=4\r\nCurrentProfile=1\r\n") +
                          kThreeProfiles + "[Profile4]\r\nName=Lost\r\nPath=../Kid\r\n");
  Select(3);
  EXPECT_EQ(editor.ProPath, "../Kid");
  editor.ProPath = "guest";
  sim.dialogs.Expect(kFolderTaken, DialogAnswer::Ok);
  editor.ApplyBtnClick();
  EXPECT_EQ(Table("Profile4", "Path"), "../Kid");

  editor.ProPath = "Found";
  editor.ApplyBtnClick();
  EXPECT_EQ(Table("Profile4", "Path"), "Found");
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Kid") / "Note00"));
  EXPECT_EQ(Entries(layout().ProfilesDir()), (std::vector<std::string>{"Guest", "Kid", "Master"}));
}

TEST_F(Profiles, ABackupFolderInTheWayIsUsedWithAWarning) {
  UseTable(1);
  WriteBytes(layout().ProfileBackupDir("Kids") / "old.bk", "x");
  Select(1);
  editor.ProPath = "Kids";
  sim.dialogs.Expect("Backup-folder with this name is already exists. Custodo will use it.",
                     DialogAnswer::Ok);
  editor.ApplyBtnClick();
  EXPECT_EQ(LastAsked().caption, "Pelorin Security System");
  EXPECT_EQ(LastAsked().icon, DialogIcon::Warning);
  EXPECT_EQ(Table("Profile2", "Path"), "Kids");
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Kids") / "Note00"));
  EXPECT_TRUE(fs::exists(layout().ProfileBackupDir("Kid") / "note00.bk"));
  EXPECT_TRUE(fs::exists(layout().ProfileBackupDir("Kids") / "old.bk"));
}

TEST_F(Profiles, RenamingTheCurrentProfileReinitializesItOnYes) {
  UseTable(1);
  sim.suite.main().MoveMainWindow(120, 40);
  Select(0);
  editor.ProName = "Owner";
  editor.ProPath = "Main";
  sim.dialogs.Expect(kReinitQuestion, DialogAnswer::Yes);
  editor.ApplyBtnClick();
  EXPECT_EQ(LastAsked().icon, DialogIcon::Question);

  EXPECT_EQ(Table("Profile1", "Path"), "Main");
  EXPECT_EQ(Table("Profile1", "Name"), "Owner");
  EXPECT_FALSE(fs::exists(layout().ProfileDir("Master")));
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Main") / "Note00"));
  EXPECT_TRUE(fs::exists(layout().ProfileBackupDir("Main") / "note00.bk"));
  const SettingsFile status(layout().ProfileDir("Main") / "status.hif");
  EXPECT_EQ(status.ReadInteger("POSITION", "X", 0), 120);
  EXPECT_EQ(status.ReadInteger("POSITION", "Y", 0), 40);
  EXPECT_EQ(values().Current.path, "Main");
  EXPECT_EQ(values().Current.name, "Owner");
  EXPECT_EQ(values().ProfileDir, layout().ProfileDir("Main"));
  EXPECT_EQ(ctx().files.ProfilePath(), "Main");
  EXPECT_EQ(sim.suite.main().Left(), 120);  // the strip comes back where it stood
  EXPECT_FALSE(sim.suite.main().Ended());
}

TEST_F(Profiles, RenamingTheCurrentProfileIsDroppedOnNo) {
  UseTable(1);
  Select(0);
  editor.ProName = "Owner";
  editor.ProPath = "Main";
  sim.dialogs.Expect(kReinitQuestion, DialogAnswer::No);
  editor.ApplyBtnClick();
  EXPECT_EQ(editor.ProPath, "Master");
  EXPECT_EQ(Table("Profile1", "Path"), "Master");
  EXPECT_EQ(Table("Profile1", "Name"), "Owner");
  EXPECT_EQ(values().Current.name, "Owner");
  EXPECT_EQ(values().Current.path, "Master");
  EXPECT_TRUE(fs::exists(layout().ProfileDataDir("Master") / "Note00"));
  EXPECT_FALSE(fs::exists(layout().ProfileDir("Main")));
}

TEST_F(Profiles, TheCurrentProfileKeepsItsFullAccess) {
  UseTable(1);
  Select(0);
  editor.ProType = TF_Profile::kParticularAccess;
  sim.dialogs.Expect("Cannot change access level of current profile!", DialogAnswer::Ok);
  editor.ApplyBtnClick();
  EXPECT_EQ(LastAsked().caption, "Pelorin");
  EXPECT_EQ(LastAsked().icon, DialogIcon::Information);
  EXPECT_EQ(editor.ProType, TF_Profile::kFullAccess);
  EXPECT_EQ(Table("Profile1", "Type"), "1");
  EXPECT_EQ(values().Current.type, TF_Profile::kFullAccess);
}

TEST_F(Profiles, ApplyWithABadFolderNameChangesNothing) {
  UseTable(1);
  Select(1);
  editor.ProName = "Kids";
  editor.ProPath = "Kid.old";
  editor.ApplyBtnClick();
  EXPECT_EQ(sim.dialogs.Asked().size(), 0u);
  EXPECT_EQ(Table("Profile2", "Name"), "Kid");
  EXPECT_TRUE(fs::exists(layout().ProfileDir("Kid")));
}

}  // namespace
}  // namespace pelorin
