#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/CommandDispatch.h"
#include "core/ProfileLoader.h"
#include "core/StartupScenario.h"
#include "core/TF_Pass.h"
#include "prefs/TF_SProfile.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ports::DialogAnswer;
using testing::StartupScenario;
using testing::SuiteProcess;

constexpr const char* kDamaged = "is damaged: its folder";
constexpr const char* kLostProfile = "Profile folder is damaged or lost, empty profile created.";

// A profile whose Path breaks the folder rule never makes the suite read or write
// outside its home: it is reported as damaged wherever it is chosen.
class DamagedProfile : public StartupScenario {
 protected:
  void SetUp() override { Install(); }

  std::set<std::string> Entries(const fs::path& dir) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
      names.insert(entry.path().filename().string());
    return names;
  }
  // Nothing was made anywhere but in the Master profile's places.
  void ExpectNothingOutsideMaster() const {
    EXPECT_EQ(Entries(home / "Profiles"), (std::set<std::string>{"Master"}));
    EXPECT_EQ(Entries(home / "Custodo").count("Master"), 1u);
    for (const char* stray : {"Data", "outside", "main.hf", "Sub", "x"}) {
      EXPECT_FALSE(fs::exists(home / stray)) << stray;
      EXPECT_FALSE(fs::exists(home / "Custodo" / stray)) << stray;
    }
    EXPECT_FALSE(fs::exists(scratch / "outside"));
  }
  const ports::MessageRequest& LastAsked(SuiteProcess& p) const { return p.dialogs.Asked().back(); }
};

TEST_F(DamagedProfile, AStartProfileWithoutAValidFolderCannotStart) {
  for (const std::string& path :
       {(scratch / "outside").string(), std::string(".."), std::string("../outside"),
        std::string("Sub/Dir"), std::string("a\\b"), std::string(""), std::string("x:y"),
        std::string("in.dot")}) {
    SCOPED_TRACE(path);
    SetSystemValue("Profile1", "Path", path);
    SuiteProcess p(home.path());
    p.dialogs.ExpectContaining(kDamaged, DialogAnswer::Ok);
    p.StartUp();
    const ports::MessageRequest& told = LastAsked(p);
    EXPECT_NE(told.text.find("\"" + path + "\""), std::string::npos) << told.text;
    EXPECT_NE(told.text.find("Continue of execution is not possible."), std::string::npos);
    EXPECT_EQ(told.caption, "Pelorin Security System");
    EXPECT_EQ(told.icon, ports::DialogIcon::Error);
    EXPECT_TRUE(p.Ended());
    EXPECT_FALSE(p.values().ProfileActive);
    ExpectNothingOutsideMaster();
  }
}

TEST_F(DamagedProfile, AnotherProfileMayBeChosenWhenTheStartProfileIsDamaged) {
  SetSystemValue("System", "ProfilesCount", "2");
  SetSystemValue("Profile2", "Name", "Work");
  SetSystemValue("Profile2", "Path", "Work");
  SetSystemValue("Profile1", "Path", "../outside");
  SuiteProcess p(home.path());
  p.dialogs.ExpectContaining(kDamaged, DialogAnswer::Ok);
  p.StartUp();
  EXPECT_NE(LastAsked(p).text.find("Choose another profile."), std::string::npos);
  TF_SProfile& selector = p.suite.selector();
  ASSERT_TRUE(selector.Visible());

  // The damaged one again: told again, the window stays and nothing is remembered.
  selector.Select(0);
  p.dialogs.ExpectContaining(kDamaged, DialogAnswer::Ok);
  selector.OKBtnClick();
  EXPECT_TRUE(selector.Visible());
  EXPECT_EQ(ScrambledValue(SystemFile(), "System", "CurrentProfile"), "1");

  selector.Select(1);
  p.dialogs.Expect(kLostProfile, DialogAnswer::Ok);  // Work's folder does not exist yet
  selector.OKBtnClick();
  p.Advance(100);
  EXPECT_TRUE(p.values().ProfileActive);
  EXPECT_EQ(p.values().Current.path, "Work");
  EXPECT_EQ(p.dialogs.Pending(), 0u);
  EXPECT_FALSE(fs::exists(home / "outside"));
}

TEST_F(DamagedProfile, ASwitchToADamagedProfileIsRefusedAndTheOldOneStays) {
  SetSystemValue("System", "ProfilesCount", "2");
  SetSystemValue("Profile2", "Name", "Elsewhere");
  SetSystemValue("Profile2", "Path", (scratch / "outside").string());
  SuiteProcess p(home.path());
  p.StartUp();
  const auto registered = p.hotkeys.Registered();

  p.dialogs.ExpectContaining(kDamaged, DialogAnswer::Ok);
  p.suite.commands().ProfilesItemClick(3);
  EXPECT_NE(LastAsked(p).text.find("The current profile stays active."), std::string::npos);
  p.Advance(200);
  const SharedValues& v = p.values();
  EXPECT_EQ(v.Current.path, "Master");
  EXPECT_TRUE(v.ProfileActive);
  EXPECT_FALSE(v.ProfileSwitchPending);
  EXPECT_EQ(p.suite.pass().PendingAction(), TF_Pass::kNone);
  EXPECT_EQ(p.hotkeys.Registered().size(), registered.size());
  ExpectNothingOutsideMaster();
}

TEST_F(DamagedProfile, ALoadOfAFolderOutsideTheRuleTouchesNothing) {
  SuiteProcess p(home.path());
  p.StartUp();
  p.dialogs.ExpectContaining(kDamaged, DialogAnswer::Ok);
  p.suite.loader().LoadProfile("../outside");
  EXPECT_TRUE(p.Ended());
  ExpectNothingOutsideMaster();
}

}  // namespace
}  // namespace pelorin
