#include "prefs/TF_Profile.h"

#include <algorithm>
#include <system_error>

#include "common/Files.h"
#include "core/MainMenu.h"
#include "core/NoMixerLine.h"
#include "core/ProfileLoader.h"
#include "core/ProfileTable.h"
#include "core/StartupSettings.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCaption = "Pelorin";
// The folder a profile without a Path is started from, and what this window shows.
constexpr const char* kStartFolder = "Master";
constexpr const char* kShownFolder = "DEFAULT";
constexpr const char* kUnnamed = "?";

// Whether a profile other than `number` is started from `folder` (case ignored): such
// a folder is never renamed or deleted on behalf of `number`, nor given to it anew.
bool FolderUsedByAnother(const SettingsFile& table, int number, const std::string& folder) {
  const int count = TF_Profile::ProfileCount(table);
  for (int other = 1; other <= count; ++other) {
    if (other != number &&
        SameProfileFolder(table.ReadString(ProfileSection(other), "Path", kStartFolder), folder)) {
      return true;
    }
  }
  return false;
}

}  // namespace

TF_Profile::TF_Profile(CoreContext& ctx, MainMenu& menu, ProfileLoader& loader)
    : ctx_(ctx), menu_(menu), loader_(loader) {}

bool TF_Profile::ValidFolderName(const std::string& name) {
  return ValidProfileFolder(name);
}

int TF_Profile::ProfileCount(const SettingsFile& table) {
  const int sections =
      std::min(static_cast<int>(table.ReadSections().size()), StartupSettings::kMaxProfiles);
  return std::clamp(table.ReadInteger("System", "ProfilesCount", 1), 0, sections);
}

bool TF_Profile::Ended() const {
  return ctx_.lifetime.Ended();
}

void TF_Profile::Notify() {
  changed();
}

bool TF_Profile::Centered() const {
  return ctx_.values.CenterWindows;
}

bool TF_Profile::FullAccess() const {
  return ctx_.values.Current.type == kFullAccess;
}

bool TF_Profile::MayEdit(int number) const {
  return number == ctx_.values.Current.number || FullAccess();
}

bool TF_Profile::AddEnabled() const {
  return FullAccess();
}

bool TF_Profile::ApplyEnabled() const {
  return !addStep_ && selected_ >= 0 && MayEdit(selected_ + 1);
}

bool TF_Profile::DeleteEnabled() const {
  return FullAccess();
}

bool TF_Profile::ProTypeEnabled() const {
  return FullAccess();
}

bool TF_Profile::ProAutoEnabled() const {
  return FullAccess();
}

bool TF_Profile::PanelVisible() const {
  return addStep_ || selected_ < 0 || MayEdit(selected_ + 1);
}

void TF_Profile::ClearFields() {
  ProName.clear();
  ProPath.clear();
  ProPass.clear();
  ProAuto.clear();
  ProType = kFullAccess;
}

bool TF_Profile::Reload(bool withSubmenu) {
  std::vector<std::string> rows;
  const bool read = ctx_.files.ReadSystemSettings([&](const SettingsFile& table) {
    const int count = ProfileCount(table);
    for (int number = 1; number <= count; ++number) {
      rows.push_back(table.ReadString(ProfileSection(number), "Name", kUnnamed));
    }
    if (withSubmenu) menu_.RebuildProfilesSubmenu(table, count);
  });
  if (!read || Ended()) return false;
  rows_ = std::move(rows);
  if (selected_ >= static_cast<int>(rows_.size())) selected_ = -1;
  if (withSubmenu) menu_.CheckProfile(ctx_.values.Current.number);
  return true;
}

bool TF_Profile::ChangeTable(const std::function<void(SettingsFile&)>& change) {
  bool saved = false;
  try {
    const bool written = ReportWriteErrors(
        ctx_.ports.dialogs, [&] { saved = ctx_.files.ChangeSystemSettings(change); });
    return written && saved && !Ended();
  } catch (const SettingsNameError&) {
    return false;  // the plain copy with the partial change is dropped unsaved
  }
}

bool TF_Profile::Ask(const std::string& text) {
  const ports::MessageRequest question{.text = text,
                                       .caption = kCaption,
                                       .icon = ports::DialogIcon::Question,
                                       .buttons = ports::DialogButtons::YesNo};
  return ctx_.ports.dialogs.Show(question) == ports::DialogAnswer::Yes;
}

void TF_Profile::Tell(const std::string& text, const std::string& caption, ports::DialogIcon icon) {
  ctx_.ports.dialogs.Show(ports::MessageRequest{.text = text, .caption = caption, .icon = icon});
}

bool TF_Profile::FolderTaken(const std::string& folder) {
  // "work" and "Work" are one folder name: neither a folder of another case nor a
  // profile whose own folder is missing may lend its name to a second folder.
  bool named = false;
  if (!ctx_.files.ReadSystemSettings(
          [&](const SettingsFile& table) { named = FolderUsedByAnother(table, 0, folder); })) {
    return true;  // the damaged table ended the suite
  }
  return named || ProfileFolderExists(ctx_.layout, folder);
}

bool TF_Profile::RenameFolder(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::is_directory(fs::status(from, ec))) return false;
  // A directory renamed onto an empty one would replace it: an existing name (or one
  // that cannot even be looked at) refuses the rename instead.
  if (fs::symlink_status(to, ec).type() != fs::file_type::not_found) return false;
  fs::rename(from, to, ec);
  return !ec;
}

void TF_Profile::FormShow() {
  if (Ended()) return;
  addStep_ = false;
  selected_ = -1;
  if (!Reload(false)) return;
  ClearFields();
  passwordMasked_ = false;
  visible_ = true;
  Notify();
}

void TF_Profile::FormClose() {
  visible_ = false;
  addStep_ = false;
  Notify();
}

void TF_Profile::ProListClick(int index) {
  if (Ended() || addStep_) return;
  if (index < -1 || index >= static_cast<int>(rows_.size())) index = -1;
  selected_ = index;
  ClearFields();
  passwordMasked_ = false;
  if (index >= 0) {
    const int number = index + 1;
    passwordMasked_ = number != ctx_.values.Current.number;
    // Another profile's details stay out of the fields of a profile that may not see
    // them, not only out of sight.
    if (MayEdit(number)) {
      const std::string section = ProfileSection(number);
      ctx_.files.ReadSystemSettings([&](const SettingsFile& table) {
        ProName = table.ReadString(section, "Name", kUnnamed);
        ProPath = table.ReadString(section, "Path", kShownFolder);
        ProPass = table.ReadString(section, "Pass", "");
        ProType = table.ReadInteger(section, "Type", kFullAccess) == kFullAccess
                      ? kFullAccess
                      : kParticularAccess;
        ProAuto = table.ReadString(section, "Auto", "");
      });
      if (Ended()) return;
    }
  }
  Notify();
}

void TF_Profile::LeaveAddStep() {
  addStep_ = false;
}

void TF_Profile::AddBtnClick() {
  if (Ended() || !visible_ || !AddEnabled()) return;
  if (!addStep_) {
    addStep_ = true;
    ClearFields();
    passwordMasked_ = false;
    ++nameFocusRequests_;
    Notify();
    return;
  }
  if (!ProName.empty() && ValidFolderName(ProPath)) {
    if (FolderTaken(ProPath)) {
      Tell("Folder with this name is already exists!", kCaption, ports::DialogIcon::Error);
      return;  // still in the add step, with the fields as typed
    }
    AddProfile();
    if (Ended()) return;
  }
  LeaveAddStep();
  ProListClick(selected_);
}

void TF_Profile::AddProfile() {
  const std::string path = ProPath;
  int number = 0;
  const bool saved = ChangeTable([&](SettingsFile& table) {
    number = ProfileCount(table) + 1;
    const std::string section = ProfileSection(number);
    table.EraseSection(section);  // a stray section of that name must not add its keys
    table.WriteString(section, "Name", ProName);
    table.WriteString(section, "Path", path);
    table.WriteString(section, "Pass", ProPass);
    table.WriteInteger(section, "Type", ProType == kFullAccess ? kFullAccess : kParticularAccess);
    table.WriteString(section, "Auto", ProAuto);
    table.WriteInteger("System", "ProfilesCount", number);
  });
  if (!saved) return;
  ctx_.values.ProfilesCount = number;

  const fs::path directory = ctx_.layout.ProfileDir(path);
  std::error_code ignored;  // a folder that cannot be made shows as the files' write error
  CreatePrivateDirectories(ctx_.layout.ProfileDataDir(path), ignored);
  ReportWriteErrors(ctx_.ports.dialogs, [&directory, this] {
    if (!ctx_.files.CreateEmptyProfileFiles(directory)) {
      throw SettingsWriteError(SuiteLayout::ScrambledFile(directory, "main"));
    }
    SettingsFile mixerfly(SuiteLayout::PlainTwin(directory, "mixerfly"));
    WriteNoMixerLine(mixerfly);
  });
  if (Ended()) return;
  if (Reload(true)) selected_ = std::min(number, static_cast<int>(rows_.size())) - 1;
}

void TF_Profile::DeleteBtnClick() {
  if (Ended() || !visible_ || !DeleteEnabled()) return;
  if (addStep_) {
    LeaveAddStep();
    ProListClick(selected_);
    return;
  }
  if (selected_ < 0) return;
  const int number = selected_ + 1;
  if (number == ctx_.values.Current.number) {
    Tell("You cannot delete current profile!", kCaption, ports::DialogIcon::Error);
    return;
  }
  if (!Ask("Deleting. Are you sure?") || Ended()) return;
  DeleteProfile(number);
  Notify();
}

void TF_Profile::DeleteProfile(int number) {
  SharedValues& v = ctx_.values;
  const int current = v.Current.number;
  std::string folder;
  bool ownsFolder = false;
  int remaining = -1;
  // The later profiles move one place down in one change of the table.
  const bool saved = ChangeTable([&](SettingsFile& table) {
    const int count = ProfileCount(table);
    if (number > count) return;  // gone meanwhile
    folder = table.ReadString(ProfileSection(number), "Path", kStartFolder);
    ownsFolder = ValidFolderName(folder) && !FolderUsedByAnother(table, number, folder);
    DeleteNumberedSection(table, number, count, kProfileSectionPrefix, 1);
    remaining = count - 1;
    table.WriteInteger("System", "ProfilesCount", remaining);
    // The current profile keeps pointing at itself when one before it goes.
    if (number < current) table.WriteInteger("System", "CurrentProfile", current - 1);
  });
  if (Ended()) return;
  if (saved && remaining >= 0) {
    v.ProfilesCount = remaining;
    if (number < current) v.Current.number = current - 1;
    if (v.ProfileSwitchPending && number < v.Previous.number) --v.Previous.number;

    // Folders go only once the table no longer names them.
    if (ownsFolder) {
      DeleteDirectory(ctx_.layout.ProfileDataDir(folder));
      DeleteDirectory(ctx_.layout.ProfileDir(folder));
      DeleteDirectory(ctx_.layout.ProfileBackupDir(folder));
    }
    if (ValidFolderName(folder) && PathExists(ctx_.layout.ProfileDir(folder))) {
      Tell("Cannot delete profile`s folder!", "Error", ports::DialogIcon::Error);
    }
  }
  selected_ = -1;
  ClearFields();
  passwordMasked_ = false;
  Reload(true);
}

void TF_Profile::ApplyBtnClick() {
  if (Ended() || !visible_ || !ApplyEnabled()) return;
  if (ProName.empty() || !ValidFolderName(ProPath)) return;
  ApplyProfile(selected_ + 1);
  if (!Ended()) Notify();
}

void TF_Profile::ApplyProfile(int number) {
  SharedValues& v = ctx_.values;
  const bool current = number == v.Current.number;
  const std::string section = ProfileSection(number);
  std::string shownPath;  // the stored Path as this window shows it
  std::string folder;     // the folder the profile is started from
  bool exists = false;
  bool shared = false;
  bool newNameTaken = false;  // by another profile, whatever the case
  if (!ctx_.files.ReadSystemSettings([&](const SettingsFile& table) {
        exists = number <= ProfileCount(table);
        shownPath = table.ReadString(section, "Path", kShownFolder);
        folder = current ? v.Current.path : table.ReadString(section, "Path", kStartFolder);
        shared = FolderUsedByAnother(table, number, folder);
        newNameTaken = FolderUsedByAnother(table, number, ProPath);
      }) ||
      Ended()) {
    return;
  }
  if (!exists) {
    Reload(true);
    return;
  }

  struct Rename {
    fs::path from, to;
  };
  std::vector<Rename> renamed;
  const std::string newPath = ProPath;
  // Moves the profile folder and, when it has one, its backup folder to the new name.
  const auto moveFolders = [&]() -> bool {
    // A new name that differs from another folder only in case is taken as well; the
    // profile's own folder may change its case.
    const bool taken = newNameTaken || ProfileFolderExists(ctx_.layout, newPath,
                                                           ValidFolderName(folder) ? folder : "");
    if (!ValidFolderName(folder) && !shared && !taken) {
      // A damaged entry names no folder of its own: it takes the new name, and its
      // folder is made when the profile is started next.
      return true;
    }
    const fs::path from = ctx_.layout.ProfileDir(folder);
    const fs::path to = ctx_.layout.ProfileDir(newPath);
    if (shared || taken || !ValidFolderName(folder) || !RenameFolder(from, to)) {
      Tell("Cannot change profile folder - already exists!", kCaption, ports::DialogIcon::Error);
      ProPath = shownPath;
      return false;
    }
    renamed.push_back({from, to});
    const fs::path backupFrom = ctx_.layout.ProfileBackupDir(folder);
    const fs::path backupTo = ctx_.layout.ProfileBackupDir(newPath);
    if (PathExists(backupFrom)) {
      if (RenameFolder(backupFrom, backupTo)) {
        renamed.push_back({backupFrom, backupTo});
      } else {
        Tell("Backup-folder with this name is already exists. Custodo will use it.",
             std::string(Custodo::kSecurityCaption), ports::DialogIcon::Warning);
      }
    }
    return true;
  };

  bool pathMoved = false;
  if (!current) {
    if (newPath != shownPath) pathMoved = moveFolders();
  } else {
    // The access level of the profile in use is never changed from inside it.
    if (ProType == kParticularAccess && v.Current.type == kFullAccess) {
      Tell("Cannot change access level of current profile!", kCaption,
           ports::DialogIcon::Information);
      ProType = kFullAccess;
    }
    if (newPath != shownPath) {
      if (Ask("To accept changes Pelorin will re-initialize this profile. Continue?")) {
        if (Ended()) return;
        pathMoved = moveFolders();
      } else {
        ProPath = shownPath;
      }
    }
  }
  if (Ended()) return;

  const int type = ProType == kFullAccess ? kFullAccess : kParticularAccess;
  const bool saved = ChangeTable([&](SettingsFile& table) {
    table.WriteString(section, "Name", ProName);
    table.WriteString(section, "Pass", ProPass);
    table.WriteString(section, "Auto", ProAuto);
    if (pathMoved) table.WriteString(section, "Path", newPath);
    if (!current) table.WriteInteger(section, "Type", type);
  });
  if (Ended()) return;
  if (!saved) {
    // The table still names the old folders: they get their old names back.
    std::error_code ignored;
    for (auto it = renamed.rbegin(); it != renamed.rend(); ++it)
      fs::rename(it->to, it->from, ignored);
    ProPath = shownPath;
    return;
  }

  if (current) {
    v.Current.name = ProName;
    v.CurrentPass = ProPass;
  }
  Reload(true);
  if (current && pathMoved) ReinitializeCurrentProfile(newPath);
}

void TF_Profile::ReinitializeCurrentProfile(const std::string& newPath) {
  const fs::path status = SuiteLayout::PlainTwin(ctx_.layout.ProfileDir(newPath), "status");
  ReportWriteErrors(ctx_.ports.dialogs, [&] {
    SettingsFile file(status);
    SettingsTransaction change(file);
    file.WriteInteger("POSITION", "X", ctx_.mainWindow.Left());
    file.WriteInteger("POSITION", "Y", ctx_.mainWindow.Top());
    change.Commit();
    ctx_.custodo.SetProfilePath(newPath);
    ctx_.custodo.BackupSettingsFile("status");
  });
  if (Ended()) return;
  ctx_.values.Current.path = newPath;
  loader_.LoadProfile(newPath);
}

}  // namespace pelorin
