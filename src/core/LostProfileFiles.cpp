#include "core/LostProfileFiles.h"

#include <optional>
#include <system_error>

#include "common/AtomicFile.h"
#include "storage/ScrambledFiles.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr int kNotebookPages = 100;
constexpr std::string_view kBackupExtension = ".bk";

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// "db" followed by six digits: the backup of a day book page.
std::optional<std::string> DayPageDate(const std::string& backupName) {
  const std::string_view name = backupName;
  if (name.size() != 2 + 6 + kBackupExtension.size() || !name.starts_with("db") ||
      !name.ends_with(kBackupExtension)) {
    return std::nullopt;
  }
  const std::string_view date = name.substr(2, 6);
  if (date.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  return std::string(date);
}

bool WriteNewFile(const fs::path& file, const std::string& bytes, bool ownerOnly) {
  AtomicWriteOptions options;
  options.access = ownerOnly ? FileAccess::OwnerOnly : FileAccess::Shared;
  std::error_code cause;
  return WriteFileAtomically(file, bytes, options, cause);
}

}  // namespace

LostProfileFiles::LostProfileFiles(const SuiteLayout& layout, std::string_view profilePath,
                                   std::span<const std::string_view> plainNames,
                                   bool dataFolderLost) {
  const fs::path directory = layout.ProfileDir(profilePath);
  for (const std::string_view name : ScrambledFiles::kProfileFileNames) {
    AddIfLost(SuiteLayout::ScrambledFile(directory, name),
              layout.SettingsBackupFile(profilePath, name), true);
  }
  for (const std::string_view name : plainNames) {
    AddIfLost(SuiteLayout::PlainTwin(directory, name), layout.SettingsBackupFile(profilePath, name),
              false);
  }
  if (!dataFolderLost) return;
  for (int page = 0; page < kNotebookPages; ++page) {
    AddIfLost(layout.NotePageFile(profilePath, page), layout.NotePageBackupFile(profilePath, page),
              false);
  }
  std::error_code ec;
  for (fs::directory_iterator it(layout.ProfileBackupDir(profilePath), ec), end; !ec && it != end;
       it.increment(ec)) {
    if (const auto date = DayPageDate(it->path().filename().string())) {
      AddIfLost(layout.DayPageFile(profilePath, *date), it->path(), true);
    }
  }
}

void LostProfileFiles::AddIfLost(const fs::path& file, const fs::path& backup, bool ownerOnly) {
  if (!Exists(file) && IsRegularFile(backup)) lost_.push_back({file, backup, ownerOnly});
}

std::vector<fs::path> LostProfileFiles::Restore() const {
  std::vector<fs::path> failed;
  for (const Lost& lost : lost_) {
    const std::optional<std::string> bytes = ReadWholeFile(lost.backup);
    if (!bytes || !WriteNewFile(lost.file, *bytes, lost.ownerOnly)) failed.push_back(lost.file);
  }
  return failed;
}

}  // namespace pelorin
