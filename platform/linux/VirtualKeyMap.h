#pragma once

#include <cstdint>

namespace pelorin::lnx {

// The X keysym of the key that a Windows virtual-key code names, on a US layout:
// letters and digits, F1-F24, the cursor and editing keys, Space, Enter, Esc, Tab,
// Backspace, Pause, Break, the lock keys, the numeric keypad (96-111), the
// punctuation keys (186-192, 219-222, 226) and the browser, media and launch keys
// (166-183). 0 (NoSymbol) when the code has no such key, as the modifier keys
// themselves and codes outside 1-254.
std::uint32_t KeysymForVirtualKey(int virtualKey);

}  // namespace pelorin::lnx
