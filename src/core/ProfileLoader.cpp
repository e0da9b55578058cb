#include "core/ProfileLoader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <system_error>

#include "common/Dates.h"
#include "common/Files.h"
#include "core/CoreHotkeys.h"
#include "core/LostProfileFiles.h"
#include "core/MainMenu.h"
#include "core/MenuItemIds.h"
#include "core/NoMixerLine.h"
#include "core/ProfileTable.h"
#include "core/SettingsHotkey.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

// The plain settings files of a profile, in the order their damage is checked...
constexpr std::array<std::string_view, 14> kCheckOrder = {
    "run",     "note",    "tel",     "daybook", "org",    "reminder", "clock",
    "cdaudio", "cdagent", "pcagent", "ie",      "status", "keyboard", "mixerfly"};
// ...and in the order they are backed up.
constexpr std::array<std::string_view, 14> kBackupOrder = {
    "cdagent", "cdaudio", "clock",   "daybook",  "ie",  "keyboard", "mixerfly",
    "note",    "org",     "pcagent", "reminder", "run", "status",   "tel"};

constexpr int kParkedStrip = MainWindowPlace::kParked;
constexpr int kOwnIconStyle = 12;
constexpr int kFullVolume = 65535;
// How often a start volume that waits for the mixer's first answer looks for it.
constexpr int kMixerWaitMs = 250;

const char* kMixerChanged =
    "WARNING!\rAudio mixer (sound card) configuration was changed!\rMixerFly configation is not "
    "valid now! Changing to null.";

}  // namespace

ProfileLoader::ProfileLoader(CoreContext& ctx, MainMenu& menu, CoreHotkeys& hotkeys)
    : ctx_(ctx), menu_(menu), hotkeys_(hotkeys) {
  BindSteps();
}

bool ProfileLoader::Ended() const {
  return ctx_.lifetime.Ended();
}

fs::path ProfileLoader::PlainFile(std::string_view name) const {
  return SuiteLayout::PlainTwin(ctx_.values.ProfileDir, name);
}

void ProfileLoader::Progress(int position) {
  ctx_.view.SetBusyProgress(position);
}

void ProfileLoader::BindSteps() {
  constexpr SubsystemId core = SubsystemId::Core;
  auto& load = ctx_.steps.loadProfile;
  SharedValues& v = ctx_.values;
  CoreHotkeySet& keys = hotkeys_.Keys();

  load.Bind(LoadStep::kParkStripShowBusyBox, core, [this, &v] {
    ctx_.mainWindow.Move(kParkedStrip, ctx_.mainWindow.Top());
    ctx_.view.ShowBusyBox("Pelorin - " + v.Current.name,
                          (v.RestoringMode ? "Restoring " : "Starting profile: ") + v.Current.name);
  });
  load.Bind(LoadStep::kProfileFolder, core, [this, &v] {
    const std::string& path = loadingPath_;
    v.ProfileDir = ctx_.layout.ProfileDir(path);
    ctx_.files.SetProfilePath(path);
    ctx_.custodo.SetProfilePath(path);
    RepairLostProfile(path);
  });
  load.Bind(LoadStep::kClearPlaylistRequest, core, [&v] { v.PlaylistRequest = -1; });
  load.Bind(LoadStep::kResetProgramsSubmenu, core, [this] { menu_.ResetProgramsSubmenu(); });
  load.Bind(LoadStep::kSetProfileActive, core, [&v] { v.ProfileActive = true; });
  load.BindUntil(LoadStep::kReadMainSettings, core, [this] { return ReadMainSettings(); });
  load.Bind(LoadStep::kCheckSettingsFiles, core, [this, &v] {
    if (!v.Custodo) return;
    for (const std::string_view name : kCheckOrder)
      ctx_.custodo.CheckSettingsFile(name);
  });
  load.Bind(LoadStep::kReadPowerHotkeys, core, [this, &keys, &v] {
    // The rest of pcagent.hif (wallpapers, power functions) is the PC agent's.
    const SettingsFile pcagent(PlainFile("pcagent"));
    keys.Key1 = ReadHotkey(pcagent, "POWER", "Key1");
    keys.Key2 = ReadHotkey(pcagent, "POWER", "Key2");
    keys.Key3 = ReadHotkey(pcagent, "POWER", "Key3");
    keys.KeyT = ReadHotkey(pcagent, "POWER", "KeyT");
    v.MissingPictures.clear();
  });
  // The disc rules are the CD agent's; the file is opened here all the same, so that a
  // damaged one is found (and offered its backup) at every load.
  load.BindUntil(LoadStep::kOpenCdAgentRules, core, [this] {
    return ctx_.files.ReadScrambled("wimcdax2", [](const SettingsFile&) {});
  });
  load.Bind(LoadStep::kReadFastStartHotkey, core, [this, &keys] {
    keys.FastStart = ReadHotkey(SettingsFile(PlainFile("run")), "SYSTEM", "HotKey");
  });
  load.Bind(LoadStep::kPlaceWindows, core, [this] {
    const SettingsFile status(PlainFile("status"));
    ctx_.places.PlaceWindows(status);
    ctx_.mainWindow.Move(status.ReadInteger("POSITION", "X", kParkedStrip),
                         status.ReadInteger("POSITION", "Y", 0));
  });
  load.Bind(LoadStep::kReadReminderHotkey, core, [this, &keys] {
    keys.Reminder = ReadHotkey(SettingsFile(PlainFile("reminder")), "SYSTEM", "Hotkey");
  });
  load.Bind(LoadStep::kReadNoteHotkey, core, [this, &keys] {
    keys.Note = ReadHotkey(SettingsFile(PlainFile("note")), "SYSTEM", "Hotkey");
  });
  load.Bind(LoadStep::kReadMixerHotkeys, core, [this, &keys, &v] {
    const SettingsFile mixerfly(PlainFile("mixerfly"));
    keys.VolUpKey = ReadHotkey(mixerfly, "SYSTEM", "VolUpKey");
    keys.VolDownKey = ReadHotkey(mixerfly, "SYSTEM", "VolDownKey");
    keys.PrevKey = ReadHotkey(mixerfly, "SYSTEM", "PrevKey");
    keys.NextKey = ReadHotkey(mixerfly, "SYSTEM", "NextKey");
    keys.PlayKey = ReadHotkey(mixerfly, "SYSTEM", "PlayKey");
    keys.StopKey = ReadHotkey(mixerfly, "SYSTEM", "StopKey");
    keys.PauseKey = ReadHotkey(mixerfly, "SYSTEM", "PauseKey");
    keys.FuncKey = ReadHotkey(mixerfly, "SYSTEM", "FuncKey");
    v.AutoPlay = mixerfly.ReadBool("SYSTEM", "Auto", false);
    v.AutoStop = mixerfly.ReadBool("SYSTEM", "AutoStop", false);
  });
  load.Bind(LoadStep::kCheckMixerLine, core, [this] {
    SettingsFile mixerfly(PlainFile("mixerfly"));
    CheckMixerLine(mixerfly);
  });
  load.Bind(LoadStep::kReadMixerLine, core, [this] { ReadMixerLine(); });
  load.Bind(LoadStep::kBuildProgramsSubmenu, core, [this] { BuildProgramsSubmenu(); });
  load.Bind(LoadStep::kBackUpProfileFiles, core, [this] { BackUpProfileFiles(); });
  load.Bind(LoadStep::kRememberToday, core,
            [this, &v] { v.RememberedDate = ExpandYearSlash(DateNowTextUS(ctx_.ports.clock)); });
  load.Bind(LoadStep::kProfileLoaded, core, [this, &v] {
    v.ProfileLoaded = true;
    ctx_.view.HideBusyBox();
  });
  load.Bind(LoadStep::kFirstRunPreferences, core, [this, &v] {
    if (!v.FirstRun) return;
    v.FirstRun = false;
    ctx_.commands.Click(menu_item::kConfig);
  });

  ctx_.steps.resume.Bind(ResumeStep::kStartVolume, core, [this, &v] {
    if (v.StartVol && v.MixID >= 0 && v.DestID >= 0) ApplyStartVolume();
  });
}

void ProfileLoader::LoadProfile(const std::string& path) {
  if (Ended()) return;
  SharedValues& v = ctx_.values;
  if (!ValidProfileFolder(path)) {
    // Every reader of the profile table refuses such a profile before it gets here;
    // a load asked for one all the same ends the suite before anything is touched.
    ProfileEntry entry;
    entry.identity = v.Current;
    entry.identity.path = path;
    entry.folderValid = false;
    ReportDamagedProfile(ctx_.ports.dialogs, entry, DamagedProfileOutcome::CannotContinue);
    ctx_.lifetime.SaveAndQuit();
    return;
  }
  ctx_.places.ForgetPlacement();
  v.ProfileLoaded = false;
  loadingPath_ = path;
  ctx_.steps.loadProfile.Run([this] { return !Ended(); }, {},
                             [this](int position) { Progress(position); });
}

std::vector<std::string_view> ProfileLoader::MissingScrambledFiles(const fs::path& directory) {
  std::vector<std::string_view> missing;
  std::error_code ec;
  for (const std::string_view name : ScrambledFiles::kProfileFileNames) {
    if (fs::symlink_status(SuiteLayout::ScrambledFile(directory, name), ec).type() ==
        fs::file_type::not_found) {
      missing.push_back(name);
    }
  }
  return missing;
}

void ProfileLoader::RepairLostProfile(const std::string& path) {
  const fs::path directory = ctx_.layout.ProfileDir(path);
  std::error_code ec;
  const bool dataLost = !fs::is_directory(ctx_.layout.ProfileDataDir(path), ec);
  const LostProfileFiles lost(ctx_.layout, path, kCheckOrder, dataLost);
  if (!dataLost && lost.Empty() && MissingScrambledFiles(directory).empty()) return;

  // What is left of the profile stays as it is. Its backups are offered before anything
  // is made anew: once empty files stand in place of the lost ones, the next backup
  // would overwrite the copies that hold the user's passwords, disc rules and settings.
  CreatePrivateDirectories(ctx_.layout.ProfileDataDir(path), ec);
  CreatePrivateDirectories(ctx_.layout.ProfileBackupDir(path), ec);
  bool restored = false;
  if (!lost.Empty()) {
    const ports::MessageRequest offer{
        .text =
            "Profile folder is damaged or lost, but backup copies of its files found in "
            "Custodo database. Restore?",
        .caption = std::string(Custodo::kSecurityCaption),
        .icon = ports::DialogIcon::Warning,
        .buttons = ports::DialogButtons::YesNo};
    if (ctx_.ports.dialogs.Show(offer) == ports::DialogAnswer::Yes && !Ended()) {
      restored = true;
      for (const fs::path& file : lost.Restore()) {
        ReportWriteErrors(ctx_.ports.dialogs, [&file] { throw SettingsWriteError(file); });
        if (Ended()) return;
      }
    }
    if (Ended()) return;
  }

  const std::vector<std::string_view> missing = MissingScrambledFiles(directory);
  if (!missing.empty()) {
    ReportWriteErrors(ctx_.ports.dialogs, [&] { CreateMissingScrambledFiles(directory, missing); });
    if (Ended()) return;
  }
  if (missing.empty() && (restored || !dataLost)) return;

  ctx_.ports.dialogs.Show(ports::MessageRequest{
      .text = missing.empty()
                  ? "Profile folder is damaged: its Data folder was lost and is created empty."
                  : "Profile folder is damaged or lost, empty profile created.",
      .caption = std::string(Custodo::kSecurityCaption)});
}

void ProfileLoader::CreateMissingScrambledFiles(const fs::path& directory,
                                                const std::vector<std::string_view>& missing) {
  // The files are made by the operation that makes a new profile's files, in a scratch
  // folder beside them, and only the missing ones are moved in: a file that is still
  // there keeps what it holds.
  const fs::path scratch = directory / ".new-profile-files";
  std::error_code ec;
  fs::remove_all(scratch, ec);
  CreatePrivateDirectories(scratch, ec);
  struct ScratchRemover {
    const fs::path& folder;
    ~ScratchRemover() {
      std::error_code ignored;
      fs::remove_all(folder, ignored);
    }
  } remover{scratch};
  if (!ctx_.files.CreateEmptyProfileFiles(scratch)) {
    throw SettingsWriteError(SuiteLayout::ScrambledFile(directory, missing.front()));
  }
  for (const std::string_view name : missing) {
    const fs::path target = SuiteLayout::ScrambledFile(directory, name);
    fs::rename(SuiteLayout::ScrambledFile(scratch, name), target, ec);
    if (ec) throw SettingsWriteError(target);
  }
}

bool ProfileLoader::ReadMainSettings() {
  SharedValues& v = ctx_.values;
  bool block = true;
  bool restoreBlock = true;
  bool stateBlocked = false;
  // main.hf holds the protection option itself, so it cannot say whether it is
  // protected while it cannot be read: it is opened with the protection on, and a
  // damaged main.hf is offered the backup that an earlier protected write left.
  ctx_.custodo.SetCustodo(true);
  const bool read = ctx_.files.ReadScrambled("main", [&](const SettingsFile& main) {
    v.SleepShow = main.ReadBool("SYSTEM", "SleepShow", true);
    v.CenterWindows = main.ReadBool("SYSTEM", "CenterWindows", false);
    v.Custodo = main.ReadBool("SYSTEM", "Custodo", false);
    v.HiProtect = main.ReadBool("SYSTEM", "HiProtect", false);
    v.StartupFileEx = main.ReadBool("STARTUP", "FileEx", true);
    v.StartupPicEx = main.ReadBool("STARTUP", "PicEx", true);
    v.SpyFileEx = main.ReadBool("SPY", "FileEx", false);
    v.SpyPicEx = main.ReadBool("SPY", "PicEx", false);
    v.ExInterval = main.ReadInteger("SPY", "ExInterval", 60);

    FlyPanelOptions& panel = v.FlyPanel;
    panel.Enable = main.ReadBool("FLYPANEL", "Enable", true);
    panel.OpenEnhanced = main.ReadBool("FLYPANEL", "OpenEnhanced", false);
    panel.HideEnhanced = main.ReadBool("FLYPANEL", "HideEnhanced", true);
    panel.Invisible = main.ReadBool("FLYPANEL", "Invisible", false);
    panel.ShowMM = main.ReadBool("FLYPANEL", "ShowMM", true);
    panel.Clock = main.ReadBool("FLYPANEL", "Clock", false);
    panel.FastMM = main.ReadBool("FLYPANEL", "FastMM", true);
    panel.MixerFly = main.ReadBool("FLYPANEL", "MixerFly", true);
    panel.ClockFlash = main.ReadBool("FLYPANEL", "ClockFlash", true);

    for (std::size_t i = 1; i < v.MenuFlags.size(); ++i) {
      v.MenuFlags[i] = main.ReadBool("MENU", "Menu" + std::to_string(i), true);
      v.PanelFlags[i] = main.ReadBool("MENU", "Panel" + std::to_string(i), true);
    }

    v.AC.GEN1 = main.ReadString("AC", "GEN1", "");
    v.AC.CDA1 = main.ReadString("AC", "CDA1", "");
    v.AC.PCA1 = main.ReadString("AC", "PCA1", "");
    v.AC.CFG1 = main.ReadString("AC", "CFG1", "");
    v.AC.DB1 = main.ReadString("AC", "DB1", "");
    v.AC.HF1 = main.ReadString("AC", "HF1", "");

    block = main.ReadBool("STARTUP", "Block", true);
    restoreBlock = main.ReadBool("STARTUP", "RestoreBlock", true);
    stateBlocked = main.ReadBool("STARTUP", "StateBlocked", false);
  });
  ctx_.custodo.SetCustodo(v.Custodo);
  ctx_.custodo.SetHiProtect(v.HiProtect);
  if (!read) return false;

  // Block off: unlocked. Block on: locked, unless the lock state is remembered, in
  // which case it is the state the profile was left in.
  if (block && (!restoreBlock || stateBlocked)) {
    menu_.ApplyLockedMenu();
  } else {
    menu_.ApplyUnlockedMenu();
  }
  return true;
}

void ProfileLoader::ReadMixerLine() {
  SharedValues& v = ctx_.values;
  const SettingsFile mixerfly(PlainFile("mixerfly"));
  v.MixID = mixerfly.ReadInteger("MIXER", "MixID", -1);
  v.DestID = mixerfly.ReadInteger("MIXER", "DestID", -1);
  v.SourceID = mixerfly.ReadInteger("MIXER", "SourceID", -1);
  v.StartVol = mixerfly.ReadBool("SYSTEM", "StartVol", false);
  v.StartValue = mixerfly.ReadInteger("SYSTEM", "StartValue", 50);
  if (v.StartVol && v.MixID >= 0 && v.DestID >= 0) ApplyStartVolume();
  ReportWriteErrors(ctx_.ports.dialogs, [this] { ctx_.custodo.BackupSettingsFile("mixerfly"); });
}

void ProfileLoader::CheckMixerLine(SettingsFile& mixerfly) {
  const int mixID = mixerfly.ReadInteger("MIXER", "MixID", -1);
  if (mixID < 0) return;
  const ports::Mixer& mixer = ctx_.ports.mixer;
  // A mixer that has not answered yet (its sound server is slow or frozen) tells nothing
  // about the sound hardware: the stored line stays, to be checked at the next load.
  if (!mixer.Known()) return;
  bool valid = mixID < mixer.DeviceCount() &&
               mixerfly.ReadString("MIXER", "MixName", "") == mixer.DeviceName(mixID);
  if (valid) {
    std::string line = mixerfly.ReadString("MIXER", "DestName", "");
    if (mixerfly.ReadInteger("MIXER", "SourceID", -1) >= 0) {
      line += " : " + mixerfly.ReadString("MIXER", "SourceName", "");
    }
    const std::vector<ports::MixerLine> lines = mixer.Lines(mixID);
    valid = std::any_of(lines.begin(), lines.end(),
                        [&line](const ports::MixerLine& l) { return l.name == line; });
  }
  if (valid) return;

  ctx_.ports.dialogs.Show(ports::MessageRequest{.text = kMixerChanged,
                                                .caption = std::string(Custodo::kSecurityCaption),
                                                .icon = ports::DialogIcon::Warning});
  ReportWriteErrors(ctx_.ports.dialogs, [&mixerfly] { WriteNoMixerLine(mixerfly); });
}

void ProfileLoader::ApplyStartVolume() {
  const SharedValues& v = ctx_.values;
  ports::Mixer& mixer = ctx_.ports.mixer;
  if (!mixer.Known()) {
    ApplyStartVolumeWhenKnown();
    return;
  }
  const auto channels = mixer.ChannelValues(v.MixID, v.DestID, v.SourceID);
  if (!channels || channels->empty()) return;
  // 100 % and more give the loudest value rather than one beyond the channel's range.
  const std::int64_t value = (static_cast<std::int64_t>(v.StartValue) + 1) * kFullVolume / 100;
  const int channelValue = static_cast<int>(std::clamp<std::int64_t>(value, 0, kFullVolume));
  mixer.SetChannelValues(v.MixID, v.DestID, v.SourceID,
                         std::vector<int>(channels->size(), channelValue));
}

void ProfileLoader::ApplyStartVolumeWhenKnown() {
  if (!mixerWait_) {
    mixerWait_ = ctx_.ports.timers.Create("MixerWait", kMixerWaitMs, [this] {
      if (!ctx_.ports.mixer.Known() && !Ended()) return;
      mixerWait_->SetEnabled(false);
      if (Ended()) return;
      // The profile's start volume as it is now: a load meanwhile may have changed it.
      const SharedValues& v = ctx_.values;
      if (v.StartVol && v.MixID >= 0 && v.DestID >= 0) ApplyStartVolume();
    });
  }
  mixerWait_->SetEnabled(true);
}

void ProfileLoader::BuildProgramsSubmenu() {
  const SettingsFile run(PlainFile("run"));
  const int count = std::min(run.ReadInteger("SYSTEM", "Count", 0), kMaxProgramEntries);
  for (int entry = 1; entry <= count; ++entry) {
    const std::string section = std::to_string(entry - 1);
    const int style = run.ReadInteger(section, "ImageIndex", 0);
    // Styles 0-11 are the built-in pictures; 12 is the entry's own icon, kept after them.
    int picture = style < kOwnIconStyle ? style : kOwnIconStyle - 1 + entry;
    if (picture < 0) picture = -1;
    menu_.AddProgramItem(run.ReadString(section, "Caption", ""), picture);
  }
}

void ProfileLoader::BackUpProfileFiles() {
  ReportWriteErrors(ctx_.ports.dialogs, [this] {
    ctx_.custodo.BackupSystemFile();
    for (const std::string_view name : ScrambledFiles::kProfileFileNames) {
      ctx_.custodo.BackupScrambledFile(name);
    }
    for (const std::string_view name : kBackupOrder)
      ctx_.custodo.BackupSettingsFile(name);
  });
}

}  // namespace pelorin
