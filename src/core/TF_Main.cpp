#include "core/TF_Main.h"

#include <system_error>

#include "common/Drives.h"
#include "common/Files.h"
#include "common/SystemInfo.h"
#include "common/Text.h"
#include "core/BackgroundTimers.h"
#include "core/CoreHotkeys.h"
#include "core/FirstRunInstallation.h"
#include "core/MainMenu.h"
#include "core/ProfileLoader.h"
#include "core/ProfileTable.h"
#include "core/StartupSettings.h"
#include "core/StatusStrip.h"
#include "core/TF_Pass.h"
#include "core/TF_Profile.h"
#include "core/TF_SProfile.h"
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

TF_Main::TF_Main(CoreContext& ctx)
    : ctx_(ctx), startupTimer_(ctx.ports.timers.Create("StartupTimer", kSplashInterval, [this] {
        StartupTimerTimer();
      })) {}

TF_Main::~TF_Main() = default;

bool TF_Main::MainCreate(const std::vector<std::string>& args, bool restoringAllowed) {
  if (ended_) return false;
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
  v.Running = true;

  std::error_code ignored;
  CreatePrivateDirectories(ctx_.layout.BackupDir(), ignored);
  ctx_.view.PlaceMixerFly(0, kMixerFlyStartTop);
  ctx_.view.SetTaskbarButtonVisible(false);
  ctx_.hotkeys->AddAtoms();

  const bool written = ReportWriteErrors(ctx_.ports.dialogs, [this] {
    if (!ctx_.files.OpenSystemSettings()) return;
    {
      SettingsFile system(ctx_.layout.SystemSettingsCopy());
      if (!system.ReadBool("System", "Installed", false)) FirstRunInstallation(ctx_).Run(system);
    }
    // The session may have ended during the installation's message: the plain copy that
    // the shutdown deleted is not made again.
    if (ended_) return;
    ctx_.files.DeleteSystemSettingsCopy();
    MoveMainWindow(kParked, top_);
    if (!ctx_.files.OpenSystemSettings()) return;
    ReadStartupSettings();
  });
  if (ended_) return false;
  if (!written) {
    // Without its system settings the suite cannot go on.
    SaveAndQuit();
    return false;
  }

  ctx_.files.DeleteSystemSettingsCopy();
  MoveMainWindow(kParked, top_);
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
  v.Hotkeys.MenuKey = s.MenuKey;
  v.ShowProfiles = s.ShowProfiles;
  v.BlockCancel = s.BlockCancel;
  v.ProfilesCount = s.ProfilesCount;
  v.AutoProfile = s.AutoProfile;
  v.Current = s.StartProfile;
  v.CurrentPass = s.StartProfilePass;
  startProfileFolderValid_ = s.StartProfileFolderValid;

  ctx_.menu->RebuildProfilesSubmenu(system, s.ProfilesCount);
  if (s.Priority) ctx_.ports.desktop.SetPriority(*s.Priority);
}

void TF_Main::StartupTimerTimer() {
  if (ended_) return;
  const int interval = startupTimer_->Interval();
  startupTimer_->SetEnabled(false);
  SharedValues& v = ctx_.values;
  MoveMainWindow(kParked, top_);

  if (interval == kSplashInterval && !v.RestoringMode) {
    const ports::Screen& screen = ctx_.ports.screen;
    splash_ = true;
    width_ = kSplashWidth;
    height_ = kSplashHeight;
    shown_ = true;
    MoveMainWindow((screen.Width() - kSplashWidth) / 2, (screen.Height() - kSplashHeight) / 2);
    startupTimer_->SetInterval(kSplashDuration);
    startupTimer_->SetEnabled(true);
    return;
  }

  v.AutostartWanted = ctx_.ports.desktop.AutostartExists();
  MoveMainWindow(kParked, top_);
  ctx_.view.PlaceMixerFly(kMixerFlyParkedLeft, kMixerFlyParkedTop);
  EnumerateCdDrives();

  splash_ = false;
  width_ = kStripWidth;
  height_ = kStripHeight;
  shown_ = true;
  MoveMainWindow(kParked, 0);

  if (!MakeSecondSystemSettingsCopy()) return;
  // With several profiles the user may choose one first; a restart by the watchdog goes
  // straight back into the profile it left.
  if (v.ShowProfiles && v.ProfilesCount > 1 && !v.RestoringMode) {
    v.StartupSelection = true;
    v.FromSelector = false;
    v.ProfileActive = false;
    ctx_.selector->Show();
  } else if (!startProfileFolderValid_) {
    RefuseDamagedStartProfile();
  } else {
    RequestStartProfile();
  }
  if (ended_) return;

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
  ctx_.pass->Request(TF_Pass::kProfileChange, "Enter password for selected profile.", expected, 0,
                     !v.BlockCancel);
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
  if (ended_) return;
  if (!another) {
    SaveAndQuit();
    return;
  }
  v.StartupSelection = true;
  v.FromSelector = false;
  v.ProfileActive = false;
  ctx_.selector->Show();
}

void TF_Main::FormShow() {
  const SharedValues& v = ctx_.values;
  if (ended_ || StartupTimerRunning() || !v.ProfileActive || v.ProfileSwitchPending) return;
  const int screenWidth = ctx_.ports.screen.Width();
  const int screenHeight = ctx_.ports.screen.Height();
  const SettingsFile status(SuiteLayout::PlainTwin(v.ProfileDir, "status"));
  int x = status.ReadInteger("POSITION", "X", screenWidth / 2 - kStripCentreOffsetX);
  int y = status.ReadInteger("POSITION", "Y", screenHeight / 2 - kStripCentreOffsetY);
  if (x < 0) x -= kParked;  // a hidden strip is stored 4000 pixels to the left
  if (x > screenWidth - (kStripWidth - kStripOverhang)) x = screenWidth - kStripWidth;
  if (y > screenHeight - (kStripHeight - kStripOverhang)) y = screenHeight - kStripHeight;
  splash_ = false;
  width_ = kStripWidth;
  height_ = kStripHeight;
  shown_ = true;
  MoveMainWindow(x, y);
  ctx_.view.RaiseMainWindow();
}

void TF_Main::PostShutdownToCompanion() {
  ports::Companion& companion = ctx_.ports.companion;
  if (companion.WindowExists()) {
    companion.Post(ports::kCompanionShutdown);
  }
}

void TF_Main::SaveProfileState() {
  // The wallpaper state and the CD player's track selection join this once the PC
  // agent and the CD player exist.
  ReportWriteErrors(ctx_.ports.dialogs, [this] { ctx_.loader->SaveWindowPositions(); });
}

void TF_Main::PrepareShutdown() {
  if (ended_) return;
  SharedValues& v = ctx_.values;
  PostShutdownToCompanion();
  v.ClosingAllowed = true;
  ctx_.view.SetTrayIcon(false, false, false);
  if (v.Running && v.ProfileActive && !v.ProfileSwitchPending) {
    v.MissingLinks.clear();
    v.MissingPictures.clear();
    SaveProfileState();
    if (ended_) return;
  }
  v.Running = false;
  CloseAllWindows();
  ctx_.hotkeys->DeleteAtoms();
  DeleteSystemSettingsCopies();
}

void TF_Main::SaveAndQuit() {
  if (ended_) return;
  PrepareShutdown();
  QuitNow();
}

void TF_Main::QuitNow() {
  if (ended_) return;
  PostShutdownToCompanion();
  DeleteSystemSettingsCopies();
  ended_ = true;
  startupTimer_->SetEnabled(false);
  ctx_.timers->StopAll();
  ctx_.strip->StopTimers();
  ctx_.view.EndProcess();
}

void TF_Main::CloseAllWindows() {
  if (ended_) return;
  if (left_ >= 0) MoveMainWindow(left_ + kParked, top_);
  // The other applet windows join this as they are built.
  if (ctx_.profileEditor->Visible()) ctx_.profileEditor->FormClose();
}

void TF_Main::Exit() {
  // No question while the close password could not be asked (a waiting computer-use
  // request or profile change, or no profile loaded yet).
  if (ended_ || !ctx_.pass->Accepts(TF_Pass::kExit)) return;
  const ports::MessageRequest question{
      .text = "Do you really want to close Pelorin?\r(all unsaved data will be saved)",
      .caption = "Close Pelorin?",
      .icon = ports::DialogIcon::Warning,
      .buttons = ports::DialogButtons::YesNo,
      .systemModal = true};
  if (ctx_.ports.dialogs.Show(question) != ports::DialogAnswer::Yes || ended_) return;
  ctx_.pass->Request(TF_Pass::kExit, "Enter password to close Pelorin.", ctx_.values.AC.GEN1, 0,
                     true);
}

bool TF_Main::QueryEndSession() {
  return true;
}

void TF_Main::EndSession() {
  if (ended_) return;
  ctx_.values.ClosingAllowed = true;
  // A refused close request cleared Running; the end of the session saves all the
  // same, as Exit does.
  ctx_.values.Running = true;
  SaveAndQuit();
}

bool TF_Main::CloseRequested() {
  SharedValues& v = ctx_.values;
  if (ended_ || v.ClosingAllowed) return true;
  v.Running = false;
  ctx_.timers->StopHi();
  // The lists of missing files stay: the periodic checks go on using them.
  if (v.ProfileActive && !v.ProfileSwitchPending) SaveProfileState();
  if (ended_) return true;
  ctx_.hotkeys->DeleteAtoms();
  return false;
}

void TF_Main::MoveMainWindow(int left, int top) {
  left_ = left;
  top_ = top;
  ctx_.view.PlaceMainWindow(left_, top_, width_, height_, splash_, shown_);
}

bool TF_Main::StartupTimerRunning() const {
  return startupTimer_->Enabled() && startupTimer_->Interval() > 0;
}

}  // namespace pelorin
