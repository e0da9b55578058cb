#pragma once

#include <cstdint>
#include <string>

#include "common/TextBox.h"

namespace pelorin {

// A global key combination as the settings dialogs edit it and the core registers it:
// the Windows virtual-key code of the main key (0 = no hotkey) and the modifier flags,
// each 0 or 1. A `Key` of 8 (Backspace) is never kept: every operation that sets
// `Key` turns 8 into 0, and so it does with a code of 1000 or more, which the stored
// hotkey code cannot hold.
struct THotkey {
  std::uint16_t Key = 0;
  std::uint8_t Ctrl = 0;
  std::uint8_t Alt = 0;
  std::uint8_t Shift = 0;
  std::uint8_t Win = 0;

  friend bool operator==(const THotkey&, const THotkey&) = default;
};

// The display name of a virtual key: the suite's names for the special keys ("F5",
// "Num 7", "PgUp", ...) and for every other code below 256 the character with that
// byte value in the Windows Cyrillic code page (letters and digits read as
// themselves). A code of 256 or more, which no key has, reads as its decimal number.
std::string KeyName(int virtualKey);

// The stored hotkey code Key + 1000*Ctrl + 2000*Alt + 4000*Shift + 8000*Win; 0 means
// no hotkey. A non-zero flag counts as set.
std::uint16_t HotkeyToCode(const THotkey& hotkey);
// The record of a stored hotkey code; the code 8 gives a cleared record.
THotkey CodeToHotkey(std::uint16_t code);

// "None" for no key; else "Ctrl + ", "Alt + ", "Shift + ", "Win + " (in this order,
// each when its flag is set) and the key's name: "Ctrl + Alt + F5".
std::string HotkeyText(const THotkey& hotkey);
// Puts HotkeyText into the box, as a hotkey box does when its window opens.
void ShowHotkey(TextBox& box, const THotkey& hotkey);

void ClearHotkey(THotkey& hotkey);
bool SameHotkey(const THotkey& a, const THotkey& b);

// The modifier mask that the system's hotkey registration takes: Alt = 1, Ctrl = 2,
// Shift = 4, Win = 8.
unsigned HotkeyModifiers(const THotkey& hotkey);

// The capture of a hotkey in a text box: the box passes every key-down and key-up to
// these instead of typing, and shows the text they return. While keys are held the
// text is the modifier prefixes and a blank; on release it becomes the full
// combination. A modifier pressed and released alone, or Backspace, ends in "None"
// with a cleared record. The modifier keys are 16 (Shift), 17 (Ctrl), 18 (Alt) and
// 91, 92 (the Windows keys).
std::string HotkeyKeyDown(int virtualKey, THotkey& hotkey);
std::string HotkeyKeyUp(int virtualKey, THotkey& hotkey);
// The same, putting the text into the box that captures the hotkey.
void HotkeyKeyDown(TextBox& box, int virtualKey, THotkey& hotkey);
void HotkeyKeyUp(TextBox& box, int virtualKey, THotkey& hotkey);

}  // namespace pelorin
