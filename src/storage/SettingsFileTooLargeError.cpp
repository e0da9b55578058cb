#include "storage/SettingsFileTooLargeError.h"

#include "storage/SettingsDocument.h"
#include "storage/SettingsPending.h"

namespace pelorin {

SettingsFileTooLargeError::SettingsFileTooLargeError(const std::filesystem::path& file)
    : SettingsWriteError(file),
      message_("Unable to write to " + file.string() + ": the file is larger than " +
               std::to_string(SettingsDocument::kMaxSize >> 20) + " MB and is not read") {}

void RefuseSettingsWrite(const std::filesystem::path& reported, bool tooLarge) {
  if (tooLarge) throw SettingsFileTooLargeError(reported);
  throw SettingsWriteError(reported);
}

}  // namespace pelorin
