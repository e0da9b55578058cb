#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/CoreContext.h"

namespace pelorin {

class MainMenu;
class ProfileLoader;
class SettingsFile;

// The profile configuration window ("Pelorin profiles"): the list of profiles, the
// panel with the selected profile's details, and Add (in two steps), Apply and Delete.
// Every operation reads the profile table (pelorin.hf) afresh and saves it through the
// change protocol, which backs it up and deletes the plain copy.
//
// A profile with Full access manages every profile; one with Particular access sees
// and changes only its own name, folder, password and user account.
class TF_Profile {
 public:
  static constexpr int kParticularAccess = 0;
  static constexpr int kFullAccess = 1;
  // The label shown in place of the panel when the profile's details are not shown.
  static constexpr const char* kLowAccessLabel = "НИЗКИЙ УРОВЕНЬ ДОСТУПА";

  // `menu` gets the Profiles submenu rebuilt; `loader` loads the current profile again
  // after its folder was renamed.
  TF_Profile(CoreContext& ctx, MainMenu& menu, ProfileLoader& loader);

  // The folder rule of the profile table (ValidProfileFolder).
  static bool ValidFolderName(const std::string& name);
  // ProfilesCount of the table, cut to the number of sections the table has (each
  // profile has one, so a larger count can only come from a damaged file).
  static int ProfileCount(const SettingsFile& table);

  void FormShow();
  // Selects profile `index` + 1 (-1: none) and fills the panel.
  void ProListClick(int index);
  void AddBtnClick();
  void ApplyBtnClick();
  void DeleteBtnClick();
  // Hides the window and leaves the add step.
  void FormClose();

  // The panel's fields, edited by the widget. ProType: kParticularAccess or kFullAccess.
  std::string ProName;
  std::string ProPath;
  std::string ProPass;
  std::string ProAuto;
  int ProType = kFullAccess;

  bool Visible() const { return visible_; }
  // Whether the window is centred on the screen when shown (CenterWindows).
  bool Centered() const;
  // The profile names (ProList), in table order.
  const std::vector<std::string>& Rows() const { return rows_; }
  int Selected() const { return selected_; }
  // The password shows masked with '#' (another profile's) or in clear.
  bool PasswordMasked() const { return passwordMasked_; }
  static constexpr char kPasswordMask = '#';

  bool AddEnabled() const;
  bool ApplyEnabled() const;
  bool DeleteEnabled() const;
  bool ProTypeEnabled() const;
  bool ProAutoEnabled() const;
  bool ListEnabled() const { return !addStep_; }
  // ProPanel; when hidden, kLowAccessLabel shows in its place.
  bool PanelVisible() const;

  // The add step: Add shows its confirm face, Delete its cancel face.
  bool AddStep() const { return addStep_; }
  std::string AddHint() const { return "Add"; }
  std::string ApplyHint() const { return "Apply"; }
  std::string DeleteHint() const { return addStep_ ? "Cancel" : "Delete"; }
  // Grows each time the focus is to go to ProName.
  int NameFocusRequests() const { return nameFocusRequests_; }

  ports::Notification<> changed;  // the widget re-reads the state

 private:
  bool Ended() const;
  void Notify();
  bool FullAccess() const;
  // Whether the current profile may see and change profile `number`'s details.
  bool MayEdit(int number) const;
  void ClearFields();
  void LeaveAddStep();
  void AddProfile();
  void DeleteProfile(int number);
  void ApplyProfile(int number);
  // One change of the profile table; false when it was not saved: a refused write
  // (reported), a text the table cannot hold such as a line break (refused without a
  // message, as a bad folder name is), or a damaged table (which ended the suite).
  bool ChangeTable(const std::function<void(SettingsFile&)>& change);
  // Asks the question; true for Yes.
  bool Ask(const std::string& text);
  void Tell(const std::string& text, const std::string& caption, ports::DialogIcon icon);
  // Whether a new profile may not take `folder`: a folder under Profiles/ or another
  // profile's Path has that name, case ignored.
  bool FolderTaken(const std::string& folder);
  // Renames a profile's folder (or its backup folder); never onto an existing one.
  static bool RenameFolder(const std::filesystem::path& from, const std::filesystem::path& to);
  // Re-reads the list (and the Profiles submenu) from the table; false when the table
  // could not be read.
  bool Reload(bool withSubmenu);
  // The current profile's folder got a new name: its strip position goes into the new
  // folder and the profile is loaded from there.
  void ReinitializeCurrentProfile(const std::string& newPath);

  CoreContext& ctx_;
  MainMenu& menu_;
  ProfileLoader& loader_;
  std::vector<std::string> rows_;
  int selected_ = -1;
  bool passwordMasked_ = false;
  bool addStep_ = false;
  bool visible_ = false;
  int nameFocusRequests_ = 0;
};

}  // namespace pelorin
