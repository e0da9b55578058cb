#pragma once

#include <array>

#include "core/StepTable.h"

// The suite's ordered sequences. Each enumeration lists its steps in the order they run,
// and the table beside it says whose call each step is. A subsystem takes part by
// filling its rows (SuiteSteps); a row of an applet that does not exist yet stays empty.
namespace pelorin {

// `LoadProfile`: stop every service, read every settings file of the profile, check and
// back them up, start the services again. The progress positions are the busy box's.
enum class LoadStep {
  kParkStripShowBusyBox,
  kProfileFolder,
  kClearPlaylistRequest,
  kStopBackgroundTimers,
  kStopCdPlayer,
  kCdAgentExaminesEveryDrive,
  kStopPcAgentSystemTimer,
  kStopReminderTimer,
  kStopRing,
  kCloseAllWindows,
  kHideOrganizerPopup,
  kHideFlyPanel,
  kHidePcAgentPages,
  kUnregisterHotkeys,
  kClearVolumeLockSnapshot,
  kResetProgramsSubmenu,
  kSetProfileActive,
  kReadMainSettings,
  kCheckSettingsFiles,
  kReadDuzuzozeSettings,
  kReadPcAgentSettings,
  kReadPowerHotkeys,
  kReadComputerUseHours,
  kReadPcAgentControls,
  kReadCdAgentSettings,
  kOpenCdAgentRules,
  kReadCdAgentRules,
  kReadFastStartHotkey,
  kReadStatusSettings,
  kPlaceWindows,
  kReadCdPlayerSettings,
  kReadReminderHotkey,
  kStartReminder,
  kReadNoteHotkey,
  kReadMixerHotkeys,
  kReadFlyOutSettings,
  kCheckMixerLine,
  kReadMixerLine,
  kReadOrganizerSettings,
  kFillProgramsWindow,
  kBuildProgramsSubmenu,
  kCheckProgramLinks,
  kBackUpProfileFiles,
  kSleepIndicatorOff,
  kStartOrganizer,
  kStartCdAgent,
  kStartCdPlayerTimer,
  kRestartPcAgentSystemTimer,
  kStartHiAndExTimers,
  kRegisterHotkeys,
  kRegisterUserHotkeys,
  kAllowComputerUseCheck,
  kTakeVolumeLockSnapshot,
  kRememberToday,
  kStartLowTimer,
  kShowFlyPanel,
  kProfileLoaded,
  kFirstRunPreferences,
  kCount
};

inline constexpr std::array<StepRow<LoadStep>, static_cast<std::size_t>(LoadStep::kCount)>
    kLoadProfileSteps = {{
        {LoadStep::kParkStripShowBusyBox, SubsystemId::Core, "park the strip, show the busy box",
         StepCondition::Always, 0},
        {LoadStep::kProfileFolder, SubsystemId::Core, "the profile folder, repaired when lost"},
        {LoadStep::kClearPlaylistRequest, SubsystemId::Core, "clear the playlist request"},
        {LoadStep::kStopBackgroundTimers, SubsystemId::Core, "stop ExTimer, HiTimer and LowTimer"},
        {LoadStep::kStopCdPlayer, SubsystemId::Multimedia,
         "stop the CD player, release its device"},
        {LoadStep::kCdAgentExaminesEveryDrive, SubsystemId::Agents,
         "CD agent: examine every drive"},
        {LoadStep::kStopPcAgentSystemTimer, SubsystemId::Agents,
         "stop the PC agent's system timer"},
        {LoadStep::kStopReminderTimer, SubsystemId::Alarms, "stop the reminder's timer"},
        {LoadStep::kStopRing, SubsystemId::Alarms, "StopRing"},
        {LoadStep::kCloseAllWindows, SubsystemId::Core, "CloseAllWindows"},
        {LoadStep::kHideOrganizerPopup, SubsystemId::Organizer, "hide the organizer pop-up"},
        {LoadStep::kHideFlyPanel, SubsystemId::Multimedia, "hide the fly panel"},
        {LoadStep::kHidePcAgentPages, SubsystemId::Agents,
         "hide the PC agent's pages, stop its work"},
        {LoadStep::kUnregisterHotkeys, SubsystemId::Core, "UnregisterHotkeys"},
        {LoadStep::kClearVolumeLockSnapshot, SubsystemId::Agents,
         "clear the volume-lock snapshot flag"},
        {LoadStep::kResetProgramsSubmenu, SubsystemId::Core, "reset the Programs submenu",
         StepCondition::Always, 5},
        {LoadStep::kSetProfileActive, SubsystemId::Core, "set ProfileActive", StepCondition::Always,
         10},
        {LoadStep::kReadMainSettings, SubsystemId::Core, "main.hf", StepCondition::Always, 15},
        {LoadStep::kCheckSettingsFiles, SubsystemId::Core, "CheckSettingsFile of the plain files"},
        {LoadStep::kReadDuzuzozeSettings, SubsystemId::Alarms, "clock.hif into Duzuzoze",
         StepCondition::Always, 18},
        {LoadStep::kReadPcAgentSettings, SubsystemId::Agents, "pcagent.hif into the PC agent"},
        {LoadStep::kReadPowerHotkeys, SubsystemId::Core,
         "pcagent.hif POWER keys into the hot-keys"},
        {LoadStep::kReadComputerUseHours, SubsystemId::Core, "wimpcax2.hf: the computer-use hours"},
        {LoadStep::kReadPcAgentControls, SubsystemId::Agents, "wimpcax2.hf into the PC agent",
         StepCondition::Always, 22},
        {LoadStep::kReadCdAgentSettings, SubsystemId::Agents, "cdagent.hif into the CD agent"},
        {LoadStep::kOpenCdAgentRules, SubsystemId::Core, "wimcdax2.hf opened"},
        {LoadStep::kReadCdAgentRules, SubsystemId::Agents, "wimcdax2.hf into the CD agent",
         StepCondition::Always, 28},
        {LoadStep::kReadFastStartHotkey, SubsystemId::Core, "run.hif: the fast-start hot-key"},
        {LoadStep::kReadStatusSettings, SubsystemId::Core, "status.hif: the strip's options"},
        {LoadStep::kPlaceWindows, SubsystemId::Core, "window placement", StepCondition::Always, 32},
        {LoadStep::kReadCdPlayerSettings, SubsystemId::Multimedia, "cdaudio.hif into the CD player",
         StepCondition::Always, 35},
        {LoadStep::kReadReminderHotkey, SubsystemId::Core, "reminder.hif: the reminder's hot-key"},
        {LoadStep::kStartReminder, SubsystemId::Alarms, "the reminder's timer starts",
         StepCondition::Always, 42},
        {LoadStep::kReadNoteHotkey, SubsystemId::Core, "note.hif: the notebook's hot-key"},
        {LoadStep::kReadMixerHotkeys, SubsystemId::Core,
         "mixerfly.hif: the media hot-keys, auto-play"},
        {LoadStep::kReadFlyOutSettings, SubsystemId::Multimedia,
         "mixerfly.hif into the fly-out and panel"},
        {LoadStep::kCheckMixerLine, SubsystemId::Core, "the mixer check", StepCondition::Always,
         55},
        {LoadStep::kReadMixerLine, SubsystemId::Core, "the mixer line and the start volume",
         StepCondition::Always, 65},
        {LoadStep::kReadOrganizerSettings, SubsystemId::Organizer, "org.hif into the organizer",
         StepCondition::Always, 70},
        {LoadStep::kFillProgramsWindow, SubsystemId::Launcher,
         "the Programs window fills its lists"},
        {LoadStep::kBuildProgramsSubmenu, SubsystemId::Core, "the Programs submenu",
         StepCondition::Always, 73},
        {LoadStep::kCheckProgramLinks, SubsystemId::Core, "the Programs link check",
         StepCondition::Always, 78},
        {LoadStep::kBackUpProfileFiles, SubsystemId::Core, "backups of every file",
         StepCondition::Always, 90},
        {LoadStep::kSleepIndicatorOff, SubsystemId::Core, "sleep indicator off"},
        {LoadStep::kStartOrganizer, SubsystemId::Organizer,
         "park the welcome window, start the organizer"},
        {LoadStep::kStartCdAgent, SubsystemId::Agents, "the CD agent detects and starts its timer"},
        {LoadStep::kStartCdPlayerTimer, SubsystemId::Multimedia, "start the CD player's timer"},
        {LoadStep::kRestartPcAgentSystemTimer, SubsystemId::Agents,
         "the PC agent's system timer at 1 ms"},
        {LoadStep::kStartHiAndExTimers, SubsystemId::Core, "start ExTimer and HiTimer"},
        {LoadStep::kRegisterHotkeys, SubsystemId::Core, "RegisterHotkeys"},
        {LoadStep::kRegisterUserHotkeys, SubsystemId::Agents,
         "the PC agent registers the user's hot-keys"},
        {LoadStep::kAllowComputerUseCheck, SubsystemId::Core, "allow the computer-use check"},
        {LoadStep::kTakeVolumeLockSnapshot, SubsystemId::Agents, "take a new volume-lock snapshot"},
        {LoadStep::kRememberToday, SubsystemId::Core, "remembered date = today"},
        {LoadStep::kStartLowTimer, SubsystemId::Core, "start LowTimer"},
        {LoadStep::kShowFlyPanel, SubsystemId::Multimedia, "show the fly panel when enabled",
         StepCondition::Always, 100},
        {LoadStep::kProfileLoaded, SubsystemId::Core, "the profile is loaded, close the busy box"},
        {LoadStep::kFirstRunPreferences, SubsystemId::Core,
         "after the first run, Preferences once"},
    }};
static_assert(InStepOrder(kLoadProfileSteps));

// `PrepareShutdown`.
enum class ShutdownStep {
  kTellCompanion,
  kAllowClosing,
  kHideFlyPanel,
  kForgetMissingFiles,
  kSaveWindowPositions,
  kSavePcAgentWallpaper,
  kSaveCdTrackSelection,
  kStopRing,
  kEmptyProgramsList,
  kStopPcAgentWork,
  kClearRunning,
  kCloseAllWindows,
  kDeleteAtoms,
  kDeleteSystemSettingsCopies,
  kCount
};

inline constexpr std::array<StepRow<ShutdownStep>, static_cast<std::size_t>(ShutdownStep::kCount)>
    kShutdownSteps = {{
        {ShutdownStep::kTellCompanion, SubsystemId::Core, "the shutdown message to the companion"},
        {ShutdownStep::kAllowClosing, SubsystemId::Core, "ClosingAllowed, the tray icon inactive"},
        {ShutdownStep::kHideFlyPanel, SubsystemId::Multimedia, "hide the fly panel"},
        {ShutdownStep::kForgetMissingFiles, SubsystemId::Core,
         "free MissingLinks and MissingPictures", StepCondition::WhileRunningWithProfile},
        {ShutdownStep::kSaveWindowPositions, SubsystemId::Core, "SaveWindowPositions",
         StepCondition::WhileRunningWithProfile},
        {ShutdownStep::kSavePcAgentWallpaper, SubsystemId::Agents, "the PC agent's wallpaper state",
         StepCondition::WhileRunningWithProfile},
        {ShutdownStep::kSaveCdTrackSelection, SubsystemId::Multimedia, "StoreTrackSelection",
         StepCondition::WhileRunningWithProfile},
        {ShutdownStep::kStopRing, SubsystemId::Alarms, "StopRing", StepCondition::WhileRunning},
        {ShutdownStep::kEmptyProgramsList, SubsystemId::Launcher,
         "empty the Programs window's list", StepCondition::WhileRunning},
        {ShutdownStep::kStopPcAgentWork, SubsystemId::Agents, "the PC agent stops its work",
         StepCondition::WhileRunning},
        {ShutdownStep::kClearRunning, SubsystemId::Core, "clear Running"},
        {ShutdownStep::kCloseAllWindows, SubsystemId::Core, "CloseAllWindows"},
        {ShutdownStep::kDeleteAtoms, SubsystemId::Core, "delete the hot-key atoms"},
        {ShutdownStep::kDeleteSystemSettingsCopies, SubsystemId::Core, "delete the plain copies"},
    }};
static_assert(InStepOrder(kShutdownSteps));

// A close request from outside, refused while closing is not allowed yet.
enum class RefusedCloseStep {
  kClearRunning,
  kStopHiTimer,
  kSaveWindowPositions,
  kSavePcAgentWallpaper,
  kSaveCdTrackSelection,
  kStopRing,
  kEmptyProgramsList,
  kDeleteAtoms,
  kStopPcAgentWork,
  kCount
};

inline constexpr std::array<StepRow<RefusedCloseStep>,
                            static_cast<std::size_t>(RefusedCloseStep::kCount)>
    kRefusedCloseSteps = {{
        {RefusedCloseStep::kClearRunning, SubsystemId::Core, "clear Running"},
        {RefusedCloseStep::kStopHiTimer, SubsystemId::Core, "stop HiTimer"},
        {RefusedCloseStep::kSaveWindowPositions, SubsystemId::Core, "SaveWindowPositions",
         StepCondition::WithActiveProfile},
        {RefusedCloseStep::kSavePcAgentWallpaper, SubsystemId::Agents,
         "the PC agent's wallpaper state", StepCondition::WithActiveProfile},
        {RefusedCloseStep::kSaveCdTrackSelection, SubsystemId::Multimedia, "StoreTrackSelection",
         StepCondition::WithActiveProfile},
        {RefusedCloseStep::kStopRing, SubsystemId::Alarms, "StopRing"},
        {RefusedCloseStep::kEmptyProgramsList, SubsystemId::Launcher,
         "empty the Programs window's list"},
        {RefusedCloseStep::kDeleteAtoms, SubsystemId::Core, "delete the hot-key atoms"},
        {RefusedCloseStep::kStopPcAgentWork, SubsystemId::Agents, "the PC agent stops its work"},
    }};
static_assert(InStepOrder(kRefusedCloseSteps));

// The old profile is left for another one (a Profiles item).
enum class LeaveProfileStep {
  kSaveWindowPositions,
  kSavePcAgentWallpaper,
  kUnregisterHotkeys,
  kClearRestoringMode,
  kCount
};

inline constexpr std::array<StepRow<LeaveProfileStep>,
                            static_cast<std::size_t>(LeaveProfileStep::kCount)>
    kLeaveProfileSteps = {{
        {LeaveProfileStep::kSaveWindowPositions, SubsystemId::Core, "SaveWindowPositions"},
        {LeaveProfileStep::kSavePcAgentWallpaper, SubsystemId::Agents,
         "the PC agent's wallpaper state"},
        {LeaveProfileStep::kUnregisterHotkeys, SubsystemId::Core, "UnregisterHotkeys"},
        {LeaveProfileStep::kClearRestoringMode, SubsystemId::Core, "clear RestoringMode"},
    }};
static_assert(InStepOrder(kLeaveProfileSteps));

// `CloseAllWindows`: the strip off the screen, then every visible applet window.
enum class CloseWindowStep {
  kHideStrip,
  kRun,
  kNote,
  kTel,
  kTime,
  kCDAudio,
  kCDAgent,
  kPCAgent,
  kFastStart,
  kShed,
  kClock,
  kProfile,
  kDB,
  kConfig,
  kCount
};

inline constexpr std::array<StepRow<CloseWindowStep>,
                            static_cast<std::size_t>(CloseWindowStep::kCount)>
    kCloseWindowSteps = {{
        {CloseWindowStep::kHideStrip, SubsystemId::Core, "the status strip off the screen"},
        {CloseWindowStep::kRun, SubsystemId::Launcher, "TF_Run"},
        {CloseWindowStep::kNote, SubsystemId::Books, "TF_Note"},
        {CloseWindowStep::kTel, SubsystemId::Books, "TF_Tel"},
        {CloseWindowStep::kTime, SubsystemId::Alarms, "TF_Time"},
        {CloseWindowStep::kCDAudio, SubsystemId::Multimedia, "TF_CDAudio"},
        {CloseWindowStep::kCDAgent, SubsystemId::Agents, "TF_CDAgent"},
        {CloseWindowStep::kPCAgent, SubsystemId::Agents, "TF_PCAgent"},
        {CloseWindowStep::kFastStart, SubsystemId::Launcher, "TF_FastStart"},
        {CloseWindowStep::kShed, SubsystemId::Organizer, "TF_Shed"},
        {CloseWindowStep::kClock, SubsystemId::Alarms, "TF_Clock"},
        {CloseWindowStep::kProfile, SubsystemId::Prefs, "TF_Profile"},
        {CloseWindowStep::kDB, SubsystemId::Books, "TF_DB"},
        {CloseWindowStep::kConfig, SubsystemId::Prefs, "TF_Config"},
    }};
static_assert(InStepOrder(kCloseWindowSteps));

// The computer is about to sleep.
enum class SuspendStep {
  kSetSleeping,
  kStopOrganizerTimer,
  kStopCdPlayerTimer,
  kStopReminderTimer,
  kStopStripTimers,
  kStopCdDetection,
  kSilenceRing,
  kCloseAllWindows,
  kHideOrganizerPopup,
  kHideVolumeFlyOut,
  kUnregisterHotkeys,
  kShowSleepWindow,
  kCount
};

inline constexpr std::array<StepRow<SuspendStep>, static_cast<std::size_t>(SuspendStep::kCount)>
    kSuspendSteps = {{
        {SuspendStep::kSetSleeping, SubsystemId::Core, "set the sleeping flag"},
        {SuspendStep::kStopOrganizerTimer, SubsystemId::Organizer, "stop the organizer's timer"},
        {SuspendStep::kStopCdPlayerTimer, SubsystemId::Multimedia, "stop the CD player's timer"},
        {SuspendStep::kStopReminderTimer, SubsystemId::Alarms, "stop the reminder's timer"},
        {SuspendStep::kStopStripTimers, SubsystemId::Core, "stop the status strip's timers"},
        {SuspendStep::kStopCdDetection, SubsystemId::Agents, "stop the CD agent's detection"},
        {SuspendStep::kSilenceRing, SubsystemId::Alarms, "silence a ringing alarm"},
        {SuspendStep::kCloseAllWindows, SubsystemId::Core, "CloseAllWindows"},
        {SuspendStep::kHideOrganizerPopup, SubsystemId::Organizer, "hide the organizer pop-up"},
        {SuspendStep::kHideVolumeFlyOut, SubsystemId::Multimedia, "hide the volume fly-out"},
        {SuspendStep::kUnregisterHotkeys, SubsystemId::Core, "UnregisterHotkeys"},
        {SuspendStep::kShowSleepWindow, SubsystemId::Core, "TF_Sleep when SleepShow"},
    }};
static_assert(InStepOrder(kSuspendSteps));

// The computer woke up.
enum class ResumeStep {
  kClearSleeping,
  kPcAgentNextWallpaper,
  kOrganizerRebuild,
  kStartOrganizerTimer,
  kStartCdPlayerTimer,
  kStartReminderTimer,
  kStartStripTimers,
  kStartCdDetection,
  kShowVolumeFlyOut,
  kRegisterHotkeys,
  kSleepWindowRestored,
  kPcAgentAfterSleep,
  kStartVolume,
  kCount
};

inline constexpr std::array<StepRow<ResumeStep>, static_cast<std::size_t>(ResumeStep::kCount)>
    kResumeSteps = {{
        {ResumeStep::kClearSleeping, SubsystemId::Core, "clear the sleeping flag"},
        {ResumeStep::kPcAgentNextWallpaper, SubsystemId::Agents, "the next wallpaper change"},
        {ResumeStep::kOrganizerRebuild, SubsystemId::Organizer,
         "the organizer rebuilds its triggers"},
        {ResumeStep::kStartOrganizerTimer, SubsystemId::Organizer, "start the organizer's timer"},
        {ResumeStep::kStartCdPlayerTimer, SubsystemId::Multimedia, "start the CD player's timer"},
        {ResumeStep::kStartReminderTimer, SubsystemId::Alarms, "start the reminder's timer"},
        {ResumeStep::kStartStripTimers, SubsystemId::Core, "start the status strip's timers"},
        {ResumeStep::kStartCdDetection, SubsystemId::Agents,
         "the CD agent detects every drive anew"},
        {ResumeStep::kShowVolumeFlyOut, SubsystemId::Multimedia, "the volume fly-out at (50, 35)"},
        {ResumeStep::kRegisterHotkeys, SubsystemId::Core, "RegisterHotkeys"},
        {ResumeStep::kSleepWindowRestored, SubsystemId::Core, "TF_Sleep: power restored"},
        {ResumeStep::kPcAgentAfterSleep, SubsystemId::Agents, "the PC agent's change after sleep"},
        {ResumeStep::kStartVolume, SubsystemId::Core, "the start volume"},
    }};
static_assert(InStepOrder(kResumeSteps));

// `HiTimer` (200 ms).
enum class HiTimerStep { kMediaPlayer, kVolumeLock, kCompanion, kCount };

inline constexpr std::array<StepRow<HiTimerStep>, static_cast<std::size_t>(HiTimerStep::kCount)>
    kHiTimerSteps = {{
        {HiTimerStep::kMediaPlayer, SubsystemId::Core, "the media player's requests"},
        {HiTimerStep::kVolumeLock, SubsystemId::Agents, "the volume lock"},
        {HiTimerStep::kCompanion, SubsystemId::Core, "the companion program"},
    }};
static_assert(InStepOrder(kHiTimerSteps));

// `ExTimer`: the existence checks, sharing one to-All answer per tick.
enum class ExTimerStep { kWallpaperPictures, kProgramsEntries, kCount };

inline constexpr std::array<StepRow<ExTimerStep>, static_cast<std::size_t>(ExTimerStep::kCount)>
    kExTimerSteps = {{
        {ExTimerStep::kWallpaperPictures, SubsystemId::Agents, "the wallpaper pictures"},
        {ExTimerStep::kProgramsEntries, SubsystemId::Core, "the Programs entries"},
    }};
static_assert(InStepOrder(kExTimerSteps));

// `LowTimer` (1 s).
enum class LowTimerStep {
  kForgetPopup,
  kApplicationTitle,
  kTaskbarButton,
  kPowerTimerIndicator,
  kComputerUse,
  kDateControl,
  kAutostart,
  kCount
};

inline constexpr std::array<StepRow<LowTimerStep>, static_cast<std::size_t>(LowTimerStep::kCount)>
    kLowTimerSteps = {{
        {LowTimerStep::kForgetPopup, SubsystemId::Core, "a pop-up menu shown since the last tick"},
        {LowTimerStep::kApplicationTitle, SubsystemId::Core, "the application title"},
        {LowTimerStep::kTaskbarButton, SubsystemId::Core, "the taskbar button"},
        {LowTimerStep::kPowerTimerIndicator, SubsystemId::Multimedia, "the power-timer indicator"},
        {LowTimerStep::kComputerUse, SubsystemId::Core, "the computer-use time window"},
        {LowTimerStep::kDateControl, SubsystemId::Agents, "the date control"},
        {LowTimerStep::kAutostart, SubsystemId::Core, "the autostart entry"},
    }};
static_assert(InStepOrder(kLowTimerSteps));

// Another program became the active one: the floating windows stay on top.
enum class DeactivatedStep { kStrip, kOrganizerPopup, kFastStart, kWelcome, kFlyPanel, kCount };

inline constexpr std::array<StepRow<DeactivatedStep>,
                            static_cast<std::size_t>(DeactivatedStep::kCount)>
    kDeactivatedSteps = {{
        {DeactivatedStep::kStrip, SubsystemId::Core, "the status strip"},
        {DeactivatedStep::kOrganizerPopup, SubsystemId::Organizer, "the organizer pop-up"},
        {DeactivatedStep::kFastStart, SubsystemId::Launcher, "the fast-start box"},
        {DeactivatedStep::kWelcome, SubsystemId::Organizer, "the welcome window"},
        {DeactivatedStep::kFlyPanel, SubsystemId::Multimedia, "the fly panel"},
    }};
static_assert(InStepOrder(kDeactivatedSteps));

// A left-button release on the tray icon.
enum class TrayClickStep { kStopRing, kFlyPanelForward, kCount };

inline constexpr std::array<StepRow<TrayClickStep>, static_cast<std::size_t>(TrayClickStep::kCount)>
    kTrayClickSteps = {{
        {TrayClickStep::kStopRing, SubsystemId::Alarms, "StopRing"},
        {TrayClickStep::kFlyPanelForward, SubsystemId::Multimedia,
         "the fly panel's window forward"},
    }};
static_assert(InStepOrder(kTrayClickSteps));

// Every sequence of the suite, for the subsystems to fill.
struct SuiteSteps {
  StepTable<LoadStep, kLoadProfileSteps.size()> loadProfile{kLoadProfileSteps};
  StepTable<ShutdownStep, kShutdownSteps.size()> prepareShutdown{kShutdownSteps};
  StepTable<RefusedCloseStep, kRefusedCloseSteps.size()> refusedClose{kRefusedCloseSteps};
  StepTable<LeaveProfileStep, kLeaveProfileSteps.size()> leaveProfile{kLeaveProfileSteps};
  StepTable<CloseWindowStep, kCloseWindowSteps.size()> closeAllWindows{kCloseWindowSteps};
  StepTable<SuspendStep, kSuspendSteps.size()> suspend{kSuspendSteps};
  StepTable<ResumeStep, kResumeSteps.size()> resume{kResumeSteps};
  StepTable<HiTimerStep, kHiTimerSteps.size()> hiTimer{kHiTimerSteps};
  StepTable<ExTimerStep, kExTimerSteps.size()> exTimer{kExTimerSteps};
  StepTable<LowTimerStep, kLowTimerSteps.size()> lowTimer{kLowTimerSteps};
  StepTable<DeactivatedStep, kDeactivatedSteps.size()> deactivated{kDeactivatedSteps};
  StepTable<TrayClickStep, kTrayClickSteps.size()> trayLeftClick{kTrayClickSteps};
};

}  // namespace pelorin
