#include "core/ProfileTable.h"

#include <filesystem>
#include <system_error>

#include "common/Files.h"
#include "common/Text.h"
#include "storage/Custodo.h"
#include "storage/SettingsFile.h"
#include "storage/SuiteLayout.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kStartProfile = "Master";
constexpr int kFullAccess = 1;
constexpr std::string_view kForbiddenInFolder = "\\/.;:*<?>|";

std::string_view OutcomeText(DamagedProfileOutcome outcome) {
  switch (outcome) {
    case DamagedProfileOutcome::CurrentProfileStays:
      return "The current profile stays active.";
    case DamagedProfileOutcome::ChooseAnother:
      return "Choose another profile.";
    case DamagedProfileOutcome::CannotContinue:
      return "Continue of execution is not possible.";
  }
  return {};
}

}  // namespace

std::string ProfileSection(int number) {
  return std::string(kProfileSectionPrefix) + std::to_string(number);
}

bool ValidProfileFolder(std::string_view name) {
  return !name.empty() && name.find_first_of(kForbiddenInFolder) == std::string_view::npos;
}

bool SameProfileFolder(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpCaseText(a) == UpCaseText(b);
}

bool ProfileFolderExists(const SuiteLayout& layout, std::string_view folder, std::string_view own) {
  if (folder != own && PathExists(layout.ProfileDir(folder))) return true;
  std::error_code ec;
  for (fs::directory_iterator it(layout.ProfilesDir(), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name != own && SameProfileFolder(name, folder)) return true;
  }
  return false;
}

ProfileEntry ReadProfileEntry(const SettingsFile& table, int number) {
  const std::string section = ProfileSection(number);
  ProfileEntry entry;
  entry.identity.number = number;
  entry.identity.type = table.ReadInteger(section, "Type", kFullAccess);
  entry.identity.path = table.ReadString(section, "Path", kStartProfile);
  entry.identity.name = table.ReadString(section, "Name", kStartProfile);
  entry.pass = table.ReadString(section, "Pass", "");
  entry.folderValid = ValidProfileFolder(entry.identity.path);
  return entry;
}

void ReportDamagedProfile(ports::Dialogs& dialogs, const ProfileEntry& entry,
                          DamagedProfileOutcome outcome) {
  dialogs.Show(ports::MessageRequest{
      .text = "Profile \"" + entry.identity.name + "\" is damaged: its folder \"" +
              entry.identity.path +
              "\" is not a valid folder name (it must not be empty nor hold any of "
              "\\ / . ; : * < ? > |).\r" +
              std::string(OutcomeText(outcome)),
      .caption = std::string(Custodo::kSecurityCaption),
      .icon = ports::DialogIcon::Error});
}

}  // namespace pelorin
