#include "core/CoreHotkeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SuiteOnSim.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using ports::DialogAnswer;
using testing::SuiteOnSim;
using testing::WriteBytes;

constexpr int kKeyM = 0x4D;
constexpr int kKeyP = 0x50;
constexpr int kF9 = 0x78;

TEST(CoreHotkeysTest, AtomsNumberTheNamesInOrderUntilDeleted) {
  SuiteOnSim sim;
  CoreHotkeys& hotkeys = sim.suite.hotkeys();
  for (std::size_t i = 0; i < CoreHotkeys::kAtomNames.size(); ++i) {
    EXPECT_EQ(hotkeys.AtomId(CoreHotkeys::kAtomNames[i]), 0xC000 + static_cast<int>(i));
  }
  EXPECT_EQ(hotkeys.AtomId("PELN_NOTHING"), 0);
  hotkeys.DeleteAtoms();
  EXPECT_EQ(hotkeys.AtomId("PELN_MENU"), 0);
}

TEST(CoreHotkeysTest, RegistersSetKeysAndSkipsRefusedOnes) {
  SuiteOnSim sim;
  CoreHotkeys& hotkeys = sim.suite.hotkeys();
  CoreHotkeySet& keys = sim.suite.hotkeys().Keys();
  keys.MenuKey = {kKeyM, 1, 1, 0, 0};  // Ctrl + Alt + M
  keys.Key1 = keys.MenuKey;            // the same combination: the system refuses it
  keys.PlayKey = {kKeyP, 0, 0, 0, 1};  // Win + P
  keys.NextKey = {kF9, 0, 0, 0, 0};    // held by another program
  keys.Reminder = {kF9, 1, 0, 0, 0};   // registered by the reminder only while ringing
  sim.hotkeys.HoldElsewhere(0, kF9);

  hotkeys.RegisterHotkeys();
  using Combination = sim::SimHotkeys::Combination;
  const std::map<int, Combination> expected = {
      {hotkeys.AtomId("PELN_MENU"), {3, kKeyM}},
      {hotkeys.AtomId("PELN_MMPLAY"), {8, kKeyP}},
  };
  EXPECT_EQ(sim.hotkeys.Registered(), expected);

  // A key cleared since is released by the next registration.
  keys.PlayKey = {};
  hotkeys.RegisterHotkeys();
  EXPECT_EQ(sim.hotkeys.Registered().count(hotkeys.AtomId("PELN_MMPLAY")), 0u);

  // Releasing covers the reminder's key too, but not PELN_CDAUDIO, which holds nothing.
  sim.hotkeys.Register(hotkeys.AtomId("PELN_REM"), 2, kF9);
  sim.hotkeys.Register(hotkeys.AtomId("PELN_CDAUDIO"), 2, kKeyP);
  hotkeys.UnregisterHotkeys();
  EXPECT_EQ(sim.hotkeys.Registered(),
            (std::map<int, Combination>{{hotkeys.AtomId("PELN_CDAUDIO"), {2, kKeyP}}}));
}

// The user is not told of a combination the system refuses; the log says which.
TEST(CoreHotkeysTest, ARefusedHotkeyIsOneLogLineNamingIt) {
  SuiteOnSim sim;
  CoreHotkeySet& keys = sim.suite.hotkeys().Keys();
  keys.MenuKey = {kKeyM, 1, 1, 0, 0};  // taken
  keys.NextKey = {kF9, 0, 0, 0, 0};    // held by another program
  sim.hotkeys.HoldElsewhere(0, kF9);
  const int before = sim.log.CountFrom("hotkeys");

  sim.suite.hotkeys().RegisterHotkeys();
  ASSERT_EQ(sim.log.CountFrom("hotkeys"), before + 1);
  EXPECT_EQ(sim.log.Lines().back().text, "the system refused PELN_MMNEXT (F9)");
}

// A refused close request deletes the atoms; the keys registered under them keep
// working and are released by the next unregistration, and the next registration (the
// next profile load) adds the atoms again. Only shutdown ends them for good.
TEST(CoreHotkeysTest, RefusedCloseLeavesTheKeysToTheNextLoad) {
  SuiteOnSim sim;
  CoreHotkeys& hotkeys = sim.suite.hotkeys();
  CoreHotkeySet& keys = sim.suite.hotkeys().Keys();
  using Combination = sim::SimHotkeys::Combination;
  keys.MenuKey = {kKeyM, 1, 1, 0, 0};  // Ctrl + Alt + M
  hotkeys.RegisterHotkeys();
  const int menuId = hotkeys.AtomId("PELN_MENU");

  EXPECT_FALSE(sim.suite.main().CloseRequested());
  EXPECT_EQ(hotkeys.AtomId("PELN_MENU"), 0);
  sim.hotkeys.Press(3, kKeyM);
  EXPECT_EQ(sim.view.popups.size(), 1u);

  // A profile change: the old key goes, the new profile's key comes under the atom.
  hotkeys.UnregisterHotkeys();
  EXPECT_TRUE(sim.hotkeys.Registered().empty());
  keys.MenuKey = {kKeyP, 1, 1, 0, 0};
  hotkeys.RegisterHotkeys();
  EXPECT_EQ(hotkeys.AtomId("PELN_MENU"), menuId);
  EXPECT_EQ(sim.hotkeys.Registered(), (std::map<int, Combination>{{menuId, {3, kKeyP}}}));

  sim.suite.main().PrepareShutdown();
  hotkeys.RegisterHotkeys();
  EXPECT_EQ(hotkeys.AtomId("PELN_MENU"), 0);
}

// The modifier word of a press: Win 8, Shift 4, Ctrl 2, Alt 1.
TEST(CoreHotkeysTest, ModifierWordDecodesIntoTheCombination) {
  struct Case {
    unsigned word;
    THotkey menuKey;
  };
  const std::vector<Case> cases = {
      {0, {kKeyM, 0, 0, 0, 0}},  {1, {kKeyM, 0, 1, 0, 0}}, {2, {kKeyM, 1, 0, 0, 0}},
      {4, {kKeyM, 0, 0, 1, 0}},  {8, {kKeyM, 0, 0, 0, 1}}, {6, {kKeyM, 1, 0, 1, 0}},
      {15, {kKeyM, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("word " + std::to_string(c.word));
    SuiteOnSim sim;
    sim.suite.hotkeys().Keys().MenuKey = c.menuKey;
    sim.suite.hotkeys().WM_HOTKEY(c.word ^ 1u, kKeyM);  // one modifier off: no match
    sim.suite.hotkeys().WM_HOTKEY(c.word, kKeyM + 1);   // another key: no match
    EXPECT_TRUE(sim.view.popups.empty());
    sim.suite.hotkeys().WM_HOTKEY(c.word, kKeyM);
    EXPECT_EQ(sim.view.popups.size(), 1u);
  }
}

// Records what was on screen when each question came.
class QuestionOrderDialogs : public ports::Dialogs {
 public:
  DialogAnswer Show(const ports::MessageRequest& request) override {
    asked.push_back(request);
    popupsBefore.push_back(view != nullptr ? view->popups.size() : 0);
    return DialogAnswer::Yes;
  }
  std::string ChooseFileToOpen(const ports::OpenFileRequest&) override { return {}; }
  const testing::RecordingMainView* view = nullptr;
  std::vector<ports::MessageRequest> asked;
  std::vector<std::size_t> popupsBefore;
};

TEST(CoreHotkeysTest, EveryFeatureOnTheKeyActsInDispatchOrderAlsoWhileLocked) {
  QuestionOrderDialogs dialogs;
  SuiteOnSim sim(&dialogs);
  dialogs.view = &sim.view;
  WriteBytes(sim.suite.values().ProfileDir / "pcagent.hif", "[POWER]\r\nFunc1=2\r\n");
  CoreHotkeySet& keys = sim.suite.hotkeys().Keys();
  keys.MenuKey = {kKeyM, 1, 0, 1, 0};  // Ctrl + Shift + M
  keys.Key1 = keys.MenuKey;
  sim.suite.hotkeys().RegisterHotkeys();
  sim.suite.menu().ApplyLockedMenu();
  sim.screen.cursor = {640, 10};

  sim.hotkeys.Press(6, kKeyM);

  ASSERT_EQ(sim.view.popups.size(), 1u);
  EXPECT_EQ(sim.view.popups[0].x, 640);
  EXPECT_EQ(sim.view.popups[0].y, 10);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.popupsBefore[0], 1u);  // the menu came first
  EXPECT_EQ(dialogs.asked[0].text, "Do you really want to hibernate?");
  EXPECT_EQ(dialogs.asked[0].caption, "Hibernate");
  EXPECT_EQ(dialogs.asked[0].icon, ports::DialogIcon::Warning);
  EXPECT_EQ(dialogs.asked[0].buttons, ports::DialogButtons::YesNo);
  EXPECT_TRUE(dialogs.asked[0].systemModal);
}

TEST(CoreHotkeysTest, FirstPowerKeyAsksTheQuestionOfItsFunction) {
  struct Case {
    const char* pcagent;  // pcagent.hif, nullptr: no file
    const char* question;
    const char* caption;
  };
  const std::vector<Case> cases = {
      {nullptr, "Do you really want to power off your computer?", "Power off"},
      {"[POWER]\r\nFunc1=1\r\n", "Do you really want to shut down Windows?", "Shut down"},
      {"[POWER]\r\nFunc1=2\r\n", "Do you really want to hibernate?", "Hibernate"},
      {"[POWER]\r\nFunc1=3\r\n", nullptr, nullptr},
      {"[POWER]\r\nFunc1=4\r\n", "Do you really want to restart Windows?", "Restart"},
      {"[POWER]\r\nFunc1=5\r\n", "Do you really want to log off current user?", "Log off"},
      {"[POWER]\r\nFunc1=9\r\n", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pcagent != nullptr ? c.pcagent : "no pcagent.hif");
    SuiteOnSim sim;
    if (c.pcagent != nullptr) WriteBytes(sim.suite.values().ProfileDir / "pcagent.hif", c.pcagent);
    sim.suite.hotkeys().Keys().Key1 = {kF9, 0, 0, 0, 0};
    if (c.question != nullptr) sim.dialogs.Expect(c.question, DialogAnswer::No);
    sim.suite.hotkeys().WM_HOTKEY(0, kF9);
    EXPECT_EQ(sim.dialogs.Pending(), 0u);
    if (c.question != nullptr) {
      ASSERT_EQ(sim.dialogs.Asked().size(), 1u);
      EXPECT_EQ(sim.dialogs.Asked()[0].caption, c.caption);
    }
  }
}

}  // namespace
}  // namespace pelorin
