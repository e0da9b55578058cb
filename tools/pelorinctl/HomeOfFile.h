#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace pelorin::ctl {

// Where a settings file lies within a home of the suite.
struct PlaceInHome {
  std::filesystem::path home;
  std::string profilePath;  // empty for the system settings file pelorin.hf
};

// The home and profile of `file` when it is pelorin.hf of a home or a file directly in
// a profile folder (HOME/Profiles/{path}/) of a home; a home is a folder holding
// pelorin.hf. Nothing otherwise.
std::optional<PlaceInHome> FindPlaceInHome(const std::filesystem::path& file);

// How the suite names a settings file of a profile folder: {name}.hif or {name}.hf.
struct ProfileFileName {
  std::string name;  // without extension
  bool scrambled = false;
};

// The suite's name of the file, by its extension (".hif" or ".hf", in that spelling);
// nothing for another extension.
std::optional<ProfileFileName> ProfileFileNameOf(const std::filesystem::path& file);

}  // namespace pelorin::ctl
