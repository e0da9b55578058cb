#include "core/ProfileTable.h"

#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

constexpr const char* kStartProfile = "Master";
constexpr int kFullAccess = 1;

}  // namespace

std::string ProfileSection(int number) {
  return std::string(kProfileSectionPrefix) + std::to_string(number);
}

ProfileEntry ReadProfileEntry(const SettingsFile& table, int number) {
  const std::string section = ProfileSection(number);
  ProfileEntry entry;
  entry.identity.number = number;
  entry.identity.type = table.ReadInteger(section, "Type", kFullAccess);
  entry.identity.path = table.ReadString(section, "Path", kStartProfile);
  entry.identity.name = table.ReadString(section, "Name", kStartProfile);
  entry.pass = table.ReadString(section, "Pass", "");
  return entry;
}

}  // namespace pelorin
