#include "core/SettingsHotkey.h"

#include <cstdint>
#include <limits>

#include "storage/SettingsFile.h"

namespace pelorin {

THotkey ReadHotkey(const SettingsFile& file, std::string_view section, std::string_view key) {
  const int code = file.ReadInteger(section, key, 0);
  if (code < 0 || code > std::numeric_limits<std::uint16_t>::max()) return THotkey{};
  return CodeToHotkey(static_cast<std::uint16_t>(code));
}

}  // namespace pelorin
