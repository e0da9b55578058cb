#pragma once

#include <filesystem>

namespace pelorin::org_file {

// org.hif in the profile's folder: section SYSTEM and one numbered section per entry
// ("0" .. Count-1), in ascending order of date and time.
inline constexpr char kName[] = "org";  // base name for the backup and the damage check
inline constexpr char kSystem[] = "SYSTEM";
inline constexpr char kSortFile[] = "OrgSort.hif";

inline std::filesystem::path FileIn(const std::filesystem::path& profileDir) {
  return profileDir / "org.hif";
}

}  // namespace pelorin::org_file
