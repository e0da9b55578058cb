#pragma once

#include <string>
#include <string_view>

#include "core/SharedValues.h"
#include "ports/Dialogs.h"

namespace pelorin {

class SettingsFile;
class SuiteLayout;

// The profile table (pelorin.hf): one section per profile, Profile1 ... ProfileN.
inline constexpr std::string_view kProfileSectionPrefix = "Profile";
std::string ProfileSection(int number);

// A profile folder name is valid when it is not empty and holds none of
// \ / . ; : * < ? > | : so neither an absolute path, nor "..", nor any other name
// leads out of the home's Profiles folder.
bool ValidProfileFolder(std::string_view name);
// Profile folder names are the same when they differ only in case ("work", "Work").
bool SameProfileFolder(std::string_view a, std::string_view b);
// Whether something under Profiles/ already has the name `folder` when case is
// ignored; the entry named exactly `own` (the folder being renamed) does not count.
bool ProfileFolderExists(const SuiteLayout& layout, std::string_view folder,
                         std::string_view own = {});

// A profile as the start-up and a profile change take it from the table: its Type
// (default Full access), Path and Name (default "Master") and its password.
// `folderValid` is false when the Path breaks the folder rule: such an entry is
// damaged, and the profile is never loaded from it.
struct ProfileEntry {
  ProfileIdentity identity;
  std::string pass;
  bool folderValid = true;
};
ProfileEntry ReadProfileEntry(const SettingsFile& table, int number);

// What follows when a damaged profile entry was chosen.
enum class DamagedProfileOutcome {
  CurrentProfileStays,  // a profile change is refused
  ChooseAnother,        // the selection window stays open
  CannotContinue,       // the suite ends
};
// Tells the user that the entry names no valid folder, and what follows.
void ReportDamagedProfile(ports::Dialogs& dialogs, const ProfileEntry& entry,
                          DamagedProfileOutcome outcome);

}  // namespace pelorin
