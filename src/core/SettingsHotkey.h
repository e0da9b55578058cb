#pragma once

#include <string_view>

#include "common/Hotkeys.h"

namespace pelorin {

class SettingsFile;

// A hotkey stored in a settings file as its code (`CodeToHotkey`), default 0 (none).
// A value that no hotkey code can be (negative, or beyond 16 bits) reads as no hotkey.
THotkey ReadHotkey(const SettingsFile& file, std::string_view section, std::string_view key);

}  // namespace pelorin
