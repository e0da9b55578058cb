#include "core/TF_Main.h"

#include <system_error>

#include "common/Drives.h"
#include "common/Files.h"
#include "common/SystemInfo.h"
#include "common/Text.h"
#include "core/CoreHotkeys.h"
#include "core/DesktopCalculator.h"
#include "core/FirstRunInstallation.h"
#include "core/MainMenu.h"
#include "core/MenuItemIds.h"
#include "core/ProfileTable.h"
#include "core/StartupSettings.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr int kSplashInterval = 50;
constexpr int kQuickStartInterval = 1;
constexpr int kSplashDuration = 1500;
constexpr int kMixerFlyStartTop = -200;  // above the screen, shown: the tray menus' anchor
constexpr int kMixerFlyParkedLeft = 50;
constexpr int kMixerFlyParkedTop = -999;
constexpr int kFirstCdDrive = 4;  // D:
constexpr int kLastDrive = 26;    // Z:

}  // namespace

TF_Main::TF_Main(CoreContext& ctx, MainMenu& menu, CoreHotkeys& hotkeys, PasswordGate& passwords)
    : ctx_(ctx),
      menu_(menu),
      hotkeys_(hotkeys),
      passwords_(passwords),
      startupTimer_(ctx.ports.timers.Create("StartupTimer", kSplashInterval,
                                            [this] { StartupTimerTimer(); })) {
  ctx_.lifetime.ProvideExits({.prepareShutdown = [this] { PrepareShutdown(); },
                              .saveAndQuit = [this] { SaveAndQuit(); },
                              .quitNow = [this] { QuitNow(); }});
  BindSteps();
}

TF_Main::~TF_Main() = default;

void TF_Main::BindSteps() {
  constexpr SubsystemId core = SubsystemId::Core;
  SuiteSteps& steps = ctx_.steps;
  SharedValues& v = ctx_.values;
  SuiteLifetime& life = ctx_.lifetime;

  steps.prepareShutdown.Bind(ShutdownStep::kTellCompanion, core,
                             [this] { PostShutdownToCompanion(); });
  steps.prepareShutdown.Bind(ShutdownStep::kAllowClosing, core, [this] {
    ctx_.lifetime.ClosingAllowed = true;
    ctx_.view.SetTrayIcon(false, false);
  });
  steps.prepareShutdown.Bind(ShutdownStep::kForgetMissingFiles, core, [&v] {
    v.MissingLinks.clear();
    v.MissingPictures.clear();
  });
  steps.prepareShutdown.Bind(ShutdownStep::kSaveWindowPositions, core,
                             [this] { ctx_.places.SaveWindowPositions(); });
  steps.prepareShutdown.Bind(ShutdownStep::kClearRunning, core, [&life] { life.Running = false; });
  steps.prepareShutdown.Bind(ShutdownStep::kCloseAllWindows, core, [this] { CloseAllWindows(); });
  steps.prepareShutdown.Bind(ShutdownStep::kDeleteSystemSettingsCopies, core,
                             [this] { DeleteSystemSettingsCopies(); });

  // The lists of missing files stay through a refused close: the periodic checks go on
  // using them.
  steps.refusedClose.Bind(RefusedCloseStep::kClearRunning, core, [&life] { life.Running = false; });
  steps.refusedClose.Bind(RefusedCloseStep::kSaveWindowPositions, core,
                          [this] { ctx_.places.SaveWindowPositions(); });
  steps.leaveProfile.Bind(LeaveProfileStep::kSaveWindowPositions, core,
                          [this] { ctx_.places.SaveWindowPositions(); });
  steps.leaveProfile.Bind(LeaveProfileStep::kClearRestoringMode, core,
                          [&v] { v.RestoringMode = false; });

  steps.closeAllWindows.Bind(CloseWindowStep::kHideStrip, core, [this] {
    if (Left() >= 0) MoveMainWindow(Left() + kParked, Top());
  });
  steps.loadProfile.Bind(LoadStep::kCloseAllWindows, core, [this] { CloseAllWindows(); });
  steps.suspend.Bind(SuspendStep::kCloseAllWindows, core, [this] { CloseAllWindows(); });

  ctx_.commands.Bind(menu_item::kClose, core, [this] { Exit(); });
  ctx_.commands.Bind(menu_item::kStatus, core, [this] { ShowOrHideStrip(); });
  ctx_.commands.Bind(menu_item::kCalc, core,
                     [this] { OpenDesktopCalculator(ctx_.ports.shell, ctx_.ports.dialogs); });
  ctx_.passwordActions.Bind(kExitAction, core, {.accepted = [this] {
                              ctx_.lifetime.Running = true;
                              SaveAndQuit();
                            }});
}

bool TF_Main::Holds(StepCondition condition) const {
  const SharedValues& v = ctx_.values;
  const bool running = ctx_.lifetime.Running;
  const bool withProfile = v.ProfileActive && !v.ProfileSwitchPending;
  switch (condition) {
    case StepCondition::Always:
      return true;
    case StepCondition::WhileRunning:
      return running;
    case StepCondition::WithActiveProfile:
      return withProfile;
    case StepCondition::WhileRunningWithProfile:
      return running && withProfile;
  }
  return false;
}

void TF_Main::ShowOrHideStrip() {
  if (Left() < 0) {
    FormShow();
  } else {
    MoveMainWindow(Left() + kParked, Top());
    ctx_.places.SaveWindowPositions();
  }
}

bool TF_Main::MainCreate(const std::vector<std::string>& args, bool restoringAllowed) {
  if (Ended()) return false;
  SharedValues& v = ctx_.values;
  ctx_.view.SetApplicationTitle("Starting...");

  // The restoring argument alone is not enough: the companion's one-time token must
  // have been found, or anyone could start the suite past the profile password.
  v.RestoringMode = restoringAllowed && !args.empty() && UpCaseText(args.front()) == "PELORIN.EXE";
  WindowsVersionInfo version;
  v.NTFamily = WindowsVersion(version) && version.family == "NT";
  v.ProgramDir = ctx_.layout.ProgramDir();
  v.ProfileDir = v.ProgramDir;
  v.MissingLinks.clear();
  v.MissingPictures.clear();
  ctx_.lifetime.Running = true;

  std::error_code ignored;
  CreatePrivateDirectories(ctx_.layout.BackupDir(), ignored);
  ctx_.view.PlaceMixerFly(0, kMixerFlyStartTop);
  ctx_.view.SetTaskbarButtonVisible(false);
  hotkeys_.AddAtoms();

  const bool written = ReportWriteErrors(ctx_.ports.dialogs, [this] {
    if (!ctx_.files.OpenSystemSettings()) return;
    {
      SettingsFile system(ctx_.layout.SystemSettingsCopy());
      if (!system.ReadBool("System", "Installed", false)) FirstRunInstallation(ctx_).Run(system);
    }
    // The session may have ended during the installation's message: the plain copy that
    // the shutdown deleted is not made again.
    if (Ended()) return;
    ctx_.files.DeleteSystemSettingsCopy();
    MoveMainWindow(kParked, Top());
    if (!ctx_.files.OpenSystemSettings()) return;
    ReadStartupSettings();
  });
  if (Ended()) return false;
  if (!written) {
    // Without its system settings the suite cannot go on.
    SaveAndQuit();
    return false;
  }

  ctx_.files.DeleteSystemSettingsCopy();
  MoveMainWindow(kParked, Top());
  startupTimer_->SetInterval(v.SplashScreen ? kSplashInterval : kQuickStartInterval);
  startupTimer_->SetEnabled(true);
  return true;
}

void TF_Main::ReadStartupSettings() {
  SharedValues& v = ctx_.values;
  const SettingsFile system(ctx_.layout.SystemSettingsCopy());
  const StartupSettings s = StartupSettings::Read(system, ctx_.ports.desktop.LogonUserName());
  v.SplashScreen = s.SplashScreen;
  v.PassProfile = s.PassProfile;
  v.TrayIcon = s.TrayIcon;
  hotkeys_.Keys().MenuKey = s.MenuKey;
  v.ShowProfiles = s.ShowProfiles;
  v.BlockCancel = s.BlockCancel;
  v.ProfilesCount = s.ProfilesCount;
  v.AutoProfile = s.AutoProfile;
  v.Current = s.StartProfile;
  v.CurrentPass = s.StartProfilePass;
  startProfileFolderValid_ = s.StartProfileFolderValid;

  menu_.RebuildProfilesSubmenu(system, s.ProfilesCount);
  if (s.Priority) ctx_.ports.desktop.SetPriority(*s.Priority);
}

void TF_Main::StartupTimerTimer() {
  if (Ended()) return;
  const int interval = startupTimer_->Interval();
  startupTimer_->SetEnabled(false);
  SharedValues& v = ctx_.values;
  MoveMainWindow(kParked, Top());

  if (interval == kSplashInterval && !v.RestoringMode) {
    const ports::Screen& screen = ctx_.ports.screen;
    ctx_.mainWindow.BecomeSplash();
    MoveMainWindow((screen.Width() - kSplashWidth) / 2, (screen.Height() - kSplashHeight) / 2);
    startupTimer_->SetInterval(kSplashDuration);
    startupTimer_->SetEnabled(true);
    return;
  }

  v.AutostartWanted = ctx_.ports.desktop.AutostartExists();
  MoveMainWindow(kParked, Top());
  ctx_.view.PlaceMixerFly(kMixerFlyParkedLeft, kMixerFlyParkedTop);
  EnumerateCdDrives();

  ctx_.mainWindow.BecomeStrip();
  MoveMainWindow(kParked, 0);

  if (!MakeSecondSystemSettingsCopy()) return;
  // With several profiles the user may choose one first; a restart by the watchdog goes
  // straight back into the profile it left.
  if (v.ShowProfiles && v.ProfilesCount > 1 && !v.RestoringMode) {
    v.StartupSelection = true;
    v.FromSelector = false;
    v.ProfileActive = false;
    ctx_.hooks.ShowProfileSelection();
  } else if (!startProfileFolderValid_) {
    RefuseDamagedStartProfile();
  } else {
    RequestStartProfile();
  }
  if (Ended()) return;

  std::error_code ignored;
  fs::remove(SecondSystemSettingsCopy(), ignored);
  ctx_.view.SetApplicationTitle(v.RestoringMode ? "Restoring..." : "Welcome...");
}

void TF_Main::EnumerateCdDrives() {
  cdDrives_.clear();
  for (int number = kFirstCdDrive; number <= kLastDrive; ++number) {
    if (ctx_.ports.drives.Drive(DriveLetter(number).front()).type == ports::DriveType::CdRom) {
      cdDrives_.push_back(number);
    }
  }
}

fs::path TF_Main::SecondSystemSettingsCopy() const {
  return ctx_.layout.StartupSettingsCopy();
}

bool TF_Main::MakeSecondSystemSettingsCopy() {
  if (!ctx_.files.OpenSystemSettings()) return false;
  std::error_code ec;
  fs::rename(ctx_.layout.SystemSettingsCopy(), SecondSystemSettingsCopy(), ec);
  if (ec) ctx_.files.DeleteSystemSettingsCopy();
  return true;
}

void TF_Main::DeleteSystemSettingsCopies() {
  ctx_.files.DeleteSystemSettingsCopy();
  std::error_code ignored;
  fs::remove(SecondSystemSettingsCopy(), ignored);
}

void TF_Main::RequestStartProfile() {
  SharedValues& v = ctx_.values;
  v.StartupSelection = true;
  v.FromSelector = false;
  v.ProfileActive = false;
  const std::string expected = v.PassProfile || v.RestoringMode ? "" : v.CurrentPass;
  passwords_.Request(kProfileChangeAction, expected, 0, !v.BlockCancel);
}

void TF_Main::RefuseDamagedStartProfile() {
  SharedValues& v = ctx_.values;
  // Every other profile still asks its own password in the selection window; a
  // restart by the watchdog only ever goes back into the profile it left.
  const bool another = v.ProfilesCount > 1 && !v.RestoringMode;
  ProfileEntry entry;
  entry.identity = v.Current;
  entry.folderValid = false;
  ReportDamagedProfile(
      ctx_.ports.dialogs, entry,
      another ? DamagedProfileOutcome::ChooseAnother : DamagedProfileOutcome::CannotContinue);
  if (Ended()) return;
  if (!another) {
    SaveAndQuit();
    return;
  }
  v.StartupSelection = true;
  v.FromSelector = false;
  v.ProfileActive = false;
  ctx_.hooks.ShowProfileSelection();
}

void TF_Main::FormShow() {
  const SharedValues& v = ctx_.values;
  if (Ended() || StartupTimerRunning() || !v.ProfileActive || v.ProfileSwitchPending) return;
  const int screenWidth = ctx_.ports.screen.Width();
  const int screenHeight = ctx_.ports.screen.Height();
  const SettingsFile status(SuiteLayout::PlainTwin(v.ProfileDir, "status"));
  int x =
      status.ReadInteger("POSITION", "X", screenWidth / 2 - MainWindowPlace::kStripCentreOffsetX);
  int y =
      status.ReadInteger("POSITION", "Y", screenHeight / 2 - MainWindowPlace::kStripCentreOffsetY);
  if (x < 0) x -= kParked;  // a hidden strip is stored 4000 pixels to the left
  if (x > screenWidth - (kStripWidth - MainWindowPlace::kStripOverhang))
    x = screenWidth - kStripWidth;
  if (y > screenHeight - (kStripHeight - MainWindowPlace::kStripOverhang))
    y = screenHeight - kStripHeight;
  ctx_.mainWindow.BecomeStrip();
  MoveMainWindow(x, y);
  ctx_.view.RaiseMainWindow();
}

void TF_Main::PostShutdownToCompanion() {
  ports::Companion& companion = ctx_.ports.companion;
  if (companion.WindowExists()) {
    companion.Post(ports::kCompanionShutdown);
  }
}

void TF_Main::PrepareShutdown() {
  if (Ended()) return;
  ctx_.steps.prepareShutdown.Run([this] { return !Ended(); },
                                 [this](StepCondition c) { return Holds(c); });
}

void TF_Main::SaveAndQuit() {
  if (Ended()) return;
  PrepareShutdown();
  QuitNow();
}

void TF_Main::QuitNow() {
  if (Ended()) return;
  PostShutdownToCompanion();
  DeleteSystemSettingsCopies();
  startupTimer_->SetEnabled(false);
  // Those who keep timers stop them now: nothing of the suite runs after this handler.
  ctx_.lifetime.MarkEnded();
  ctx_.view.EndProcess();
}

void TF_Main::CloseAllWindows() {
  if (Ended()) return;
  ctx_.steps.closeAllWindows.Run([this] { return !Ended(); });
}

void TF_Main::Exit() {
  // No question while the close password could not be asked (a waiting computer-use
  // request or profile change, or no profile loaded yet).
  if (Ended() || !passwords_.Accepts(kExitAction)) return;
  const ports::MessageRequest question{
      .text = "Do you really want to close Pelorin?\r(all unsaved data will be saved)",
      .caption = "Close Pelorin?",
      .icon = ports::DialogIcon::Warning,
      .buttons = ports::DialogButtons::YesNo,
      .systemModal = true};
  if (ctx_.ports.dialogs.Show(question) != ports::DialogAnswer::Yes || Ended()) return;
  passwords_.Request(kExitAction, ctx_.values.AC.GEN1, 0, true);
}

bool TF_Main::QueryEndSession() {
  return true;
}

void TF_Main::EndSession() {
  if (Ended()) return;
  ctx_.lifetime.ClosingAllowed = true;
  // A refused close request cleared Running; the end of the session saves all the
  // same, as Exit does.
  ctx_.lifetime.Running = true;
  SaveAndQuit();
}

bool TF_Main::CloseRequested() {
  if (Ended() || ctx_.lifetime.ClosingAllowed) return true;
  ctx_.steps.refusedClose.Run([this] { return !Ended(); },
                              [this](StepCondition c) { return Holds(c); });
  return Ended();
}

bool TF_Main::StartupTimerRunning() const {
  return startupTimer_->Enabled() && startupTimer_->Interval() > 0;
}

}  // namespace pelorin
