#pragma once

#include <string>
#include <string_view>

#include "core/SharedValues.h"

namespace pelorin {

class SettingsFile;

// The profile table (pelorin.hf): one section per profile, Profile1 ... ProfileN.
inline constexpr std::string_view kProfileSectionPrefix = "Profile";
std::string ProfileSection(int number);

// A profile as the start-up and a profile change take it from the table: its Type
// (default Full access), Path and Name (default "Master") and its password.
struct ProfileEntry {
  ProfileIdentity identity;
  std::string pass;
};
ProfileEntry ReadProfileEntry(const SettingsFile& table, int number);

}  // namespace pelorin
