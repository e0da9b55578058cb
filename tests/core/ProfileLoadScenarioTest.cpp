#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/MainMenu.h"
#include "core/MenuItemIds.h"
#include "core/ProfileLoader.h"
#include "core/ProgramsLinkCheck.h"
#include "core/StartupScenario.h"
#include "core/TF_Main.h"
#include "storage/SuiteLayout.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ports::DialogAnswer;
using testing::ReadBytes;
using testing::StartupScenario;
using testing::SuiteProcess;
using testing::WriteBytes;

class ProfileLoad : public StartupScenario {
 protected:
  void SetUp() override { Install(); }

  // A Programs entry in section `n` of run.hif.
  void AddProgram(int n, const std::string& caption, const fs::path& file) {
    SettingsFile run = Plain("run");
    run.WriteString(std::to_string(n), "Caption", caption);
    run.WriteString(std::to_string(n), "Filename", file.string());
    run.WriteInteger(std::to_string(n), "ImageIndex", n);
    run.WriteInteger("SYSTEM", "Count", n + 1);
  }
  fs::path ExistingProgram(const std::string& name) {
    WriteBytes(scratch / name, "#!/bin/sh\n");
    return scratch / name;
  }
  // The mixer line "Card", "Master" (with a source when one is given), started at
  // StartValue when the profile loads.
  void ChooseMixerLine(const std::string& source = "") {
    SettingsFile mixerfly = Plain("mixerfly");
    mixerfly.WriteString("MIXER", "MixID", "0");
    mixerfly.WriteString("MIXER", "MixName", "Card");
    mixerfly.WriteString("MIXER", "DestID", "0");
    mixerfly.WriteString("MIXER", "DestName", "Master");
    mixerfly.WriteString("MIXER", "SourceID", source.empty() ? "-1" : "1");
    mixerfly.WriteString("MIXER", "SourceName", source);
    mixerfly.WriteString("SYSTEM", "StartVol", "1");
  }
  static std::vector<std::string> ProgramCaptions(SuiteProcess& p) {
    std::vector<std::string> captions;
    const auto& items = p.suite.menu().Item(menu_item::kRun).children;
    for (std::size_t i = 2; i < items.size(); ++i)
      captions.push_back(items[i].caption);
    return captions;
  }
};

TEST_F(ProfileLoad, MissingProgramsAnsweredNoToAllAreAskedOnceAndRemembered) {
  AddProgram(0, "One", scratch / "gone1");
  AddProgram(1, "Two", scratch / "gone2");
  AddProgram(2, "Three", scratch / "gone3");
  SuiteProcess p(home.path());
  p.dialogs.Expect(
      "Program \"Three\" is not exists!\rDo you want to delete this link from "
      "\"Programs\" menu?",
      DialogAnswer::NoToAll);
  p.StartUp();
  EXPECT_EQ(p.dialogs.Asked().front().buttons, ports::DialogButtons::YesNoAll);
  EXPECT_EQ(p.values().MissingLinks,
            (std::vector<std::string>{(scratch / "gone3").string(), (scratch / "gone2").string(),
                                      (scratch / "gone1").string()}));
  EXPECT_EQ(Plain("run").ReadInteger("SYSTEM", "Count", 0), 3);
  EXPECT_EQ(ProgramCaptions(p), (std::vector<std::string>{"One", "Two", "Three"}));

  // The periodic check does not ask again about what the owner chose to keep.
  ports::DialogAnswer toAll = DialogAnswer::Ok;
  p.suite.links().CheckPeriodically(toAll);
  EXPECT_EQ(p.dialogs.Asked().size(), 1u);
}

TEST_F(ProfileLoad, DeletingTheMiddleOfThreeProgramsShiftsTheLaterOnesDown) {
  AddProgram(0, "Editor", ExistingProgram("editor"));
  AddProgram(1, "Gone", scratch / "gone");
  AddProgram(2, "Player", ExistingProgram("player"));
  Plain("run").WriteString("2", "FastName", "PLAY");
  SuiteProcess p(home.path());
  p.dialogs.ExpectContaining("Program \"Gone\" is not exists!", DialogAnswer::Yes);
  p.StartUp();

  const SettingsFile run = Plain("run");
  EXPECT_EQ(run.ReadInteger("SYSTEM", "Count", 0), 2);
  EXPECT_EQ(run.ReadString("1", "Caption", ""), "Player");
  EXPECT_EQ(run.ReadString("1", "Filename", ""), (scratch / "player").string());
  EXPECT_EQ(run.ReadString("1", "FastName", ""), "PLAY");
  EXPECT_EQ(run.ReadInteger("1", "ImageIndex", -1), 2);
  EXPECT_FALSE(run.SectionExists("2"));
  EXPECT_EQ(ProgramCaptions(p), (std::vector<std::string>{"Editor", "Player"}));
  EXPECT_TRUE(p.values().MissingLinks.empty());
}

TEST_F(ProfileLoad, StartVolumeSetsEveryChannelOfTheLine) {
  ChooseMixerLine();
  Plain("mixerfly").WriteString("SYSTEM", "StartValue", "50");
  SuiteProcess p(home.path());
  p.mixer.AddDevice("Card");
  p.mixer.AddDestination(0, "Master", {0, 0});
  p.StartUp();
  ASSERT_EQ(p.mixer.Writes().size(), 1u);
  EXPECT_EQ(p.mixer.Writes()[0], (sim::SimMixer::Write{0, 0, -1, {33422, 33422}}));
  EXPECT_EQ(p.values().MixID, 0);
}

TEST_F(ProfileLoad, ChangedSoundHardwareResetsTheMixerLine) {
  ChooseMixerLine("Line In");
  SuiteProcess p(home.path());
  p.mixer.AddDevice("Card");
  p.mixer.AddDestination(0, "Master", {0, 0});
  p.mixer.AddSource(0, 0, "Wave", {0, 0});  // "Master : Line In" is gone
  p.dialogs.Expect(
      "WARNING!\rAudio mixer (sound card) configuration was changed!\rMixerFly configation is "
      "not valid now! Changing to null.",
      DialogAnswer::Ok);
  p.StartUp();
  EXPECT_EQ(p.values().MixID, -1);
  EXPECT_EQ(p.values().SourceID, -1);
  EXPECT_EQ(Plain("mixerfly").ReadString("MIXER", "MixName", "?"), "");
  EXPECT_EQ(Plain("mixerfly").ReadInteger("MIXER", "DestID", 0), -1);
  EXPECT_TRUE(p.mixer.Writes().empty());
}

TEST_F(ProfileLoad, AMixerThatHasNotAnsweredKeepsTheLineAndGetsTheStartVolumeWhenItAnswers) {
  ChooseMixerLine();
  Plain("mixerfly").WriteString("SYSTEM", "StartValue", "50");
  SuiteProcess p(home.path());
  p.mixer.AddDevice("Card");
  p.mixer.AddDestination(0, "Master", {0, 0});
  p.mixer.SetKnown(false);  // its sound server is frozen
  p.StartUp();              // and no "configuration was changed" warning
  EXPECT_TRUE(p.dialogs.Asked().empty());
  EXPECT_EQ(p.values().MixID, 0);
  EXPECT_EQ(p.values().DestID, 0);
  EXPECT_EQ(Plain("mixerfly").ReadString("MIXER", "MixName", ""), "Card");
  EXPECT_EQ(Plain("mixerfly").ReadString("MIXER", "DestName", ""), "Master");

  p.Advance(10000);
  EXPECT_TRUE(p.mixer.Writes().empty());
  p.mixer.SetKnown(true);
  p.Advance(1000);
  ASSERT_EQ(p.mixer.Writes().size(), 1u);
  EXPECT_EQ(p.mixer.Writes()[0], (sim::SimMixer::Write{0, 0, -1, {33422, 33422}}));
  p.Advance(10000);
  EXPECT_EQ(p.mixer.Writes().size(), 1u);
}

TEST_F(ProfileLoad, WindowPlacesAreKeptInsideTheScreen) {
  SettingsFile status = Plain("status");
  status.WriteInteger("WPOS", "RunX", 5000);
  status.WriteInteger("WPOS", "RunY", -20);
  status.WriteInteger("WPOS", "NoteX", -7);
  status.WriteInteger("WPOS", "NoteY", 750);
  SuiteProcess p(home.path());
  p.screen.width = 1024;
  p.screen.height = 768;
  p.StartUp();
  WindowPlaces& loader = p.suite.context().places;
  const int runWidth = loader.SizeOf(AppletWindow::Run).width;
  EXPECT_EQ(loader.PlaceOf(AppletWindow::Run).x, 1024 - runWidth);
  EXPECT_EQ(loader.PlaceOf(AppletWindow::Run).y, 0);
  EXPECT_EQ(p.values().NotePlace.x, 0);
  EXPECT_EQ(p.values().NotePlace.y, 768 - 436);
  // Not stored: the phone book is centred, and the strip stays hidden.
  EXPECT_EQ(p.values().TelPlace.x, 512 - 165);
  EXPECT_EQ(p.values().TelPlace.y, 384 - 189);
  EXPECT_EQ(p.suite.main().Left(), TF_Main::kParked);
}

TEST_F(ProfileLoad, StripIsShownAtItsStoredPlaceWithinTheScreen) {
  struct Case {
    int storedX, storedY;
    int loadedLeft;      // where the profile load puts the main window
    int shownX, shownY;  // where showing the strip puts it
  };
  const Case cases[] = {{-3900, 40, -3900, 100, 40},  // hidden by the owner
                        {2000, 900, 2000, 1280 - 97, 800 - 33}};
  for (const Case& c : cases) {
    SettingsFile status = Plain("status");
    status.WriteInteger("POSITION", "X", c.storedX);
    status.WriteInteger("POSITION", "Y", c.storedY);
    SuiteProcess p(home.path());
    p.StartUp();
    EXPECT_EQ(p.suite.main().Left(), c.loadedLeft);
    p.suite.main().FormShow();
    EXPECT_EQ(p.view.mainWindow.left, c.shownX) << "X " << c.storedX;
    EXPECT_EQ(p.view.mainWindow.top, c.shownY) << "X " << c.storedX;
    EXPECT_TRUE(p.view.mainWindow.visible);
  }
}

TEST_F(ProfileLoad, LockStateAtProfileStart) {
  struct Case {
    const char *block, *restoreBlock, *stateBlocked;
    bool locked;
  };
  const Case cases[] = {
      {"0", "1", "1", false}, {"1", "0", "0", true}, {"1", "1", "0", false}, {"1", "1", "1", true}};
  for (const Case& c : cases) {
    SetMainValue("STARTUP", "Block", c.block);
    SetMainValue("STARTUP", "RestoreBlock", c.restoreBlock);
    SetMainValue("STARTUP", "StateBlocked", c.stateBlocked);
    SuiteProcess p(home.path());
    p.StartUp();
    EXPECT_EQ(p.values().Locked, c.locked) << "Block " << c.block << " RestoreBlock "
                                           << c.restoreBlock << " StateBlocked " << c.stateBlocked;
  }
}

TEST_F(ProfileLoad, ProfileSettingsReachTheSharedValues) {
  SetMainValue("SPY", "ExInterval", "30");
  SetMainValue("AC", "GEN1", "close");
  SetMainValue("MENU", "Menu9", "0");
  Plain("run").WriteInteger("SYSTEM", "HotKey", 1000 + 'R');   // Ctrl + R
  Plain("pcagent").WriteInteger("POWER", "Key1", 2000 + 'P');  // Alt + P
  SuiteProcess p(home.path());
  p.StartUp();
  EXPECT_EQ(p.values().AC.GEN1, "close");
  EXPECT_FALSE(p.values().MenuFlags[9]);
  EXPECT_EQ(p.suite.timers().ExTimer().Interval(), 30000);
  EXPECT_TRUE(p.suite.timers().ExTimer().Enabled());
  EXPECT_EQ(p.suite.hotkeys().Keys().FastStart, (THotkey{'R', 1, 0, 0, 0}));
  EXPECT_EQ(p.suite.hotkeys().Keys().Key1, (THotkey{'P', 0, 1, 0, 0}));
  // Registered with the system under their atoms.
  const auto& registered = p.hotkeys.Registered();
  EXPECT_EQ(registered.at(p.suite.hotkeys().AtomId("PELN_FASTSTART")).virtualKey, 'R');
  EXPECT_EQ(registered.at(p.suite.hotkeys().AtomId("PELN_PWR1")).modifiers, 1u);
}

// A profile folder that lost its Data folder or its files is offered Custodo's copies
// before anything is made anew; what is still there stays as it was.
TEST_F(ProfileLoad, ALostProfileIsOfferedItsBackupsBeforeItIsMadeAnew) {
  constexpr const char* kOffer =
      "Profile folder is damaged or lost, but backup copies of its files found in Custodo "
      "database. Restore?";
  constexpr const char* kEmptyProfile = "Profile folder is damaged or lost, empty profile created.";
  constexpr const char* kEmptyData =
      "Profile folder is damaged: its Data folder was lost and is created empty.";
  const fs::path profile = ProfileFile("");
  const fs::path backups = SuiteLayout(home.path()).ProfileBackupDir("Master");

  // A protected profile with an access password, a strip place and two pages, run once
  // so that Custodo holds copies of everything.
  SetMainValue("SYSTEM", "Custodo", "1");
  SetMainValue("AC", "GEN1", "general");
  Plain("status").WriteInteger("POSITION", "X", 123);
  {
    SuiteProcess p(home.path());
    p.StartUp();
    ASSERT_TRUE(p.values().ProfileActive);
    p.suite.main().EndSession();
  }
  WriteBytes(backups / "note03.bk", "page four");
  WriteBytes(backups / "db010225.bk", "day page");
  ASSERT_TRUE(fs::exists(backups / "main.bk"));
  ASSERT_TRUE(fs::exists(backups / "status.bk"));
  const fs::path original = scratch / "original";
  fs::copy(home.path(), original, fs::copy_options::recursive);

  struct Case {
    const char* story;
    std::vector<fs::path> removed;
    bool pageCopies;  // Custodo holds copies of the two pages
    std::vector<std::pair<const char*, DialogAnswer>> dialogs;
    bool settingsBack;  // the password and the strip place are the old ones
    bool pagesBack;
  };
  const Case cases[] = {
      {"whole folder, restored", {profile}, true, {{kOffer, DialogAnswer::Yes}}, true, true},
      {"whole folder, not restored",
       {profile},
       true,
       {{kOffer, DialogAnswer::No}, {kEmptyProfile, DialogAnswer::Ok}},
       false,
       false},
      {"Data folder, its pages restored",
       {profile / "Data"},
       true,
       {{kOffer, DialogAnswer::Yes}},
       true,
       true},
      {"Data folder without copies of its pages",
       {profile / "Data"},
       false,
       {{kEmptyData, DialogAnswer::Ok}},
       true,
       false},
      {"main.hf and status.hif, restored",
       {profile / "main.hf", profile / "status.hif"},
       false,
       {{kOffer, DialogAnswer::Yes}},
       true,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.story);
    fs::remove_all(home.path());
    fs::copy(original, home.path(), fs::copy_options::recursive);
    for (const fs::path& gone : c.removed)
      fs::remove_all(gone);
    if (!c.pageCopies) {
      fs::remove(backups / "note03.bk");
      fs::remove(backups / "db010225.bk");
    }
    const bool mainRestored = c.settingsBack && (c.removed.front() == profile ||
                                                 c.removed.front() == profile / "main.hf");

    SuiteProcess p(home.path());
    for (const auto& [text, answer] : c.dialogs)
      p.dialogs.Expect(text, answer);
    p.StartUp();
    EXPECT_EQ(p.dialogs.Pending(), 0u);
    EXPECT_EQ(p.dialogs.Asked().size(), c.dialogs.size());
    ASSERT_TRUE(p.values().ProfileActive);
    EXPECT_TRUE(fs::is_directory(profile / "Data"));
    EXPECT_EQ(p.values().AC.GEN1, c.settingsBack ? "general" : "");
    EXPECT_EQ(p.suite.main().Left(), c.settingsBack ? 123 : TF_Main::kParked);
    if (c.pagesBack) {
      EXPECT_EQ(ReadBytes(profile / "Data" / "Note03"), "page four");
      EXPECT_EQ(ReadBytes(profile / "Data" / "DB010225.hf"), "day page");
      EXPECT_EQ(fs::status(profile / "Data" / "DB010225.hf").permissions() & fs::perms::all,
                fs::perms::owner_read | fs::perms::owner_write);
    }
    if (mainRestored) {
      EXPECT_EQ(fs::status(profile / "main.hf").permissions() & fs::perms::all,
                fs::perms::owner_read | fs::perms::owner_write);
    }
    if (c.settingsBack) {
      EXPECT_TRUE(fs::exists(backups / "status.bk"));
    }
    EXPECT_TRUE(PlainCopiesLeft().empty());
    EXPECT_FALSE(fs::exists(profile / ".new-profile-files"));
    p.suite.main().EndSession();
  }
}

}  // namespace
}  // namespace pelorin
