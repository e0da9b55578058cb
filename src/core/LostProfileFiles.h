#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "storage/SuiteLayout.h"

namespace pelorin {

// The files of a profile that are gone while the profile's backup folder under Custodo
// still holds their copies: its scrambled and plain settings files and its notebook
// and day book pages. Custodo keeps the copy of {name}.hf or {name}.hif as {name}.bk,
// of notebook page Data/NoteNN as noteNN.bk and of day book page Data/DBMMDDYY.hf as
// dbMMDDYY.bk.
class LostProfileFiles {
 public:
  struct Lost {
    std::filesystem::path file;
    std::filesystem::path backup;
    bool ownerOnly = false;  // it holds passwords or secret text: readable by the owner only
  };

  // Looks for the lost files of profile `profilePath`; `plainNames` are the names of its
  // plain settings files ("run", "status", ...). Pages are looked for only when
  // `dataFolderLost`: a page missing from a Data folder that is still there is the
  // notebook's or the day book's own business.
  LostProfileFiles(const SuiteLayout& layout, std::string_view profilePath,
                   std::span<const std::string_view> plainNames, bool dataFolderLost);

  const std::vector<Lost>& Files() const { return lost_; }
  bool Empty() const { return lost_.empty(); }

  // Copies every backup back in place (the Data folder must exist). Returns the files
  // that could not be put back; each of those stays missing.
  std::vector<std::filesystem::path> Restore() const;

 private:
  void AddIfLost(const std::filesystem::path& file, const std::filesystem::path& backup,
                 bool ownerOnly);

  std::vector<Lost> lost_;
};

}  // namespace pelorin
