#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/StartupScenario.h"
#include "core/SuiteSteps.h"

namespace pelorin {
namespace {

using testing::StartupScenario;

// The steps of a profile load in their order, each with the busy box's progress after it
// (-1: none), written down from the description of the load.
struct ExpectedStep {
  LoadStep step;
  int progress;
};

constexpr ExpectedStep kExpectedLoad[] = {
    {LoadStep::kParkStripShowBusyBox, 0},
    {LoadStep::kProfileFolder, -1},
    // Every service stops.
    {LoadStep::kClearPlaylistRequest, -1},
    {LoadStep::kStopBackgroundTimers, -1},
    {LoadStep::kStopCdPlayer, -1},
    {LoadStep::kCdAgentExaminesEveryDrive, -1},
    {LoadStep::kStopPcAgentSystemTimer, -1},
    {LoadStep::kStopReminderTimer, -1},
    {LoadStep::kStopRing, -1},
    {LoadStep::kCloseAllWindows, -1},
    {LoadStep::kHideOrganizerPopup, -1},
    {LoadStep::kHideFlyPanel, -1},
    {LoadStep::kHidePcAgentPages, -1},
    {LoadStep::kUnregisterHotkeys, -1},
    {LoadStep::kClearVolumeLockSnapshot, -1},
    {LoadStep::kResetProgramsSubmenu, 5},
    {LoadStep::kSetProfileActive, 10},
    // Every settings file, in the order of the load.
    {LoadStep::kReadMainSettings, 15},
    {LoadStep::kCheckSettingsFiles, -1},
    {LoadStep::kReadDuzuzozeSettings, 18},
    {LoadStep::kReadPcAgentSettings, -1},
    {LoadStep::kReadPowerHotkeys, -1},
    {LoadStep::kReadComputerUseHours, -1},
    {LoadStep::kReadPcAgentControls, 22},
    {LoadStep::kReadCdAgentSettings, -1},
    {LoadStep::kOpenCdAgentRules, -1},
    {LoadStep::kReadCdAgentRules, 28},
    {LoadStep::kReadFastStartHotkey, -1},
    {LoadStep::kReadStatusSettings, -1},
    {LoadStep::kPlaceWindows, 32},
    {LoadStep::kReadCdPlayerSettings, 35},
    {LoadStep::kReadReminderHotkey, -1},
    {LoadStep::kStartReminder, 42},
    {LoadStep::kReadNoteHotkey, -1},
    {LoadStep::kReadMixerHotkeys, -1},
    {LoadStep::kReadFlyOutSettings, -1},
    {LoadStep::kCheckMixerLine, 55},
    {LoadStep::kReadMixerLine, 65},
    {LoadStep::kReadOrganizerSettings, 70},
    {LoadStep::kFillProgramsWindow, -1},
    {LoadStep::kBuildProgramsSubmenu, 73},
    {LoadStep::kCheckProgramLinks, 78},
    {LoadStep::kBackUpProfileFiles, 90},
    // Every service starts again.
    {LoadStep::kSleepIndicatorOff, -1},
    {LoadStep::kStartOrganizer, -1},
    {LoadStep::kStartCdAgent, -1},
    {LoadStep::kStartCdPlayerTimer, -1},
    {LoadStep::kRestartPcAgentSystemTimer, -1},
    {LoadStep::kStartHiAndExTimers, -1},
    {LoadStep::kRegisterHotkeys, -1},
    {LoadStep::kRegisterUserHotkeys, -1},
    {LoadStep::kAllowComputerUseCheck, -1},
    {LoadStep::kTakeVolumeLockSnapshot, -1},
    {LoadStep::kRememberToday, -1},
    {LoadStep::kStartLowTimer, -1},
    {LoadStep::kShowFlyPanel, 100},
    {LoadStep::kProfileLoaded, -1},
    {LoadStep::kFirstRunPreferences, -1},
};

class LoadProfileOrder : public StartupScenario {};

TEST_F(LoadProfileOrder, TheLoadRunsItsStepsInTheDescribedOrder) {
  // The table of the load is the described one, row for row.
  const auto& rows = kLoadProfileSteps;
  ASSERT_EQ(rows.size(), std::size(kExpectedLoad));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(std::string(rows[i].what));
    EXPECT_EQ(rows[i].step, kExpectedLoad[i].step);
    EXPECT_EQ(rows[i].progress, kExpectedLoad[i].progress);
  }

  // A real start: the filled rows run in that order, and the busy box shows every
  // progress position in order.
  Install();
  auto process = NewProcess();
  std::vector<std::string> ran;
  const ports::Subscription recording = process->suite.steps().loadProfile.ran.Subscribe(
      [&ran](std::string_view what) { ran.emplace_back(what); });
  process->view.busyProgress.clear();
  process->StartUp();
  ASSERT_TRUE(process->values().ProfileLoaded);

  std::vector<std::string> expectedRun;
  std::vector<int> expectedProgress;
  for (const ExpectedStep& step : kExpectedLoad) {
    if (process->suite.steps().loadProfile.Bound(step.step)) {
      expectedRun.emplace_back(rows[static_cast<std::size_t>(step.step)].what);
    }
    if (step.progress >= 0) expectedProgress.push_back(step.progress);
  }
  EXPECT_EQ(ran, expectedRun);
  EXPECT_EQ(process->view.busyProgress, expectedProgress);
  // The core's own rows are all there.
  for (const auto& row : rows) {
    if (row.owner == SubsystemId::Core) {
      EXPECT_TRUE(process->suite.steps().loadProfile.Bound(row.step)) << row.what;
    }
  }
}

}  // namespace
}  // namespace pelorin
