#include "common/Hotkeys.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "common/CodePage1251.h"

namespace pelorin {
namespace {

constexpr int kBackspace = 8;
constexpr int kShiftKey = 16;
constexpr int kCtrlKey = 17;
constexpr int kAltKey = 18;
constexpr int kLeftWinKey = 91;
constexpr int kRightWinKey = 92;
constexpr int kFirstNumPadDigit = 96;
constexpr int kLastNumPadDigit = 105;
constexpr int kF1 = 112;
constexpr int kF12 = 123;
constexpr int kCodeKeyLimit = 1000;  // the hotkey code keeps the key below 1000

struct NamedKey {
  int code;
  std::string_view name;
};

constexpr NamedKey kKeyNames[] = {
    {3, "Break"},       {8, "None"},    {12, "Center"},     {13, "Enter"},    {19, "Pause"},
    {20, "C-Lock"},     {27, "Esc"},    {32, "Space"},      {33, "PgUp"},     {34, "PgDown"},
    {35, "End"},        {36, "Home"},   {37, "Left Arrow"}, {38, "Up Arrow"}, {39, "Right Arrow"},
    {40, "Down Arrow"}, {45, "Ins"},    {46, "Del"},        {93, "Menu"},     {106, "Num *"},
    {107, "Num +"},     {109, "Num -"}, {110, "Num ."},     {111, "Num /"},   {144, "N-Lock"},
    {145, "S-Lock"},    {186, ";"},     {187, "="},         {188, "<"},       {189, "-"},
    {190, ">"},         {191, "/"},     {192, "`"},         {219, "["},       {220, "\\"},
    {221, "]"},         {222, "'"},
};

bool IsModifierKey(int virtualKey) {
  return virtualKey == kShiftKey || virtualKey == kCtrlKey || virtualKey == kAltKey ||
         virtualKey == kLeftWinKey || virtualKey == kRightWinKey;
}

// The key as a record keeps it: Backspace and codes the hotkey code cannot hold
// become 0.
std::uint16_t KeptKey(int virtualKey) {
  if (virtualKey == kBackspace || virtualKey < 0 || virtualKey >= kCodeKeyLimit) return 0;
  return static_cast<std::uint16_t>(virtualKey);
}

std::uint8_t& ModifierFlag(int modifierKey, THotkey& hotkey) {
  switch (modifierKey) {
    case kShiftKey:
      return hotkey.Shift;
    case kCtrlKey:
      return hotkey.Ctrl;
    case kAltKey:
      return hotkey.Alt;
    default:
      return hotkey.Win;
  }
}

void ClearModifiers(THotkey& hotkey) {
  hotkey.Ctrl = hotkey.Alt = hotkey.Shift = hotkey.Win = 0;
}

bool AnyModifier(const THotkey& hotkey) {
  return hotkey.Ctrl != 0 || hotkey.Alt != 0 || hotkey.Shift != 0 || hotkey.Win != 0;
}

std::string ModifierPrefixes(const THotkey& hotkey) {
  std::string prefixes;
  if (hotkey.Ctrl != 0) prefixes += "Ctrl + ";
  if (hotkey.Alt != 0) prefixes += "Alt + ";
  if (hotkey.Shift != 0) prefixes += "Shift + ";
  if (hotkey.Win != 0) prefixes += "Win + ";
  return prefixes;
}

}  // namespace

std::string KeyName(int virtualKey) {
  const auto named = std::find_if(std::begin(kKeyNames), std::end(kKeyNames),
                                  [virtualKey](const NamedKey& k) { return k.code == virtualKey; });
  if (named != std::end(kKeyNames)) return std::string(named->name);
  if (virtualKey >= kFirstNumPadDigit && virtualKey <= kLastNumPadDigit) {
    return "Num " + std::to_string(virtualKey - kFirstNumPadDigit);
  }
  if (virtualKey >= kF1 && virtualKey <= kF12) return "F" + std::to_string(virtualKey - kF1 + 1);
  if (virtualKey < 0 || virtualKey > 255) return std::to_string(virtualKey);
  return Cp1251ToUtf8(std::string(1, static_cast<char>(virtualKey)));
}

std::uint16_t HotkeyToCode(const THotkey& hotkey) {
  const unsigned code = hotkey.Key + 1000u * (hotkey.Ctrl != 0) + 2000u * (hotkey.Alt != 0) +
                        4000u * (hotkey.Shift != 0) + 8000u * (hotkey.Win != 0);
  return static_cast<std::uint16_t>(code);
}

THotkey CodeToHotkey(std::uint16_t code) {
  THotkey hotkey;
  hotkey.Key = KeptKey(code % kCodeKeyLimit);
  unsigned q = code / kCodeKeyLimit;
  if (q >= 8) {
    hotkey.Win = 1;
    q -= 8;
  }
  if (q >= 4) {
    hotkey.Shift = 1;
    q -= 4;
  }
  if (q >= 2) {
    hotkey.Alt = 1;
    q -= 2;
  }
  if (q >= 1) hotkey.Ctrl = 1;
  return hotkey;
}

std::string HotkeyText(const THotkey& hotkey) {
  if (hotkey.Key == 0) return "None";
  return ModifierPrefixes(hotkey) + KeyName(hotkey.Key);
}

void ShowHotkey(TextBox& box, const THotkey& hotkey) {
  box.text = HotkeyText(hotkey);
}

void ClearHotkey(THotkey& hotkey) {
  hotkey = THotkey{};
}

bool SameHotkey(const THotkey& a, const THotkey& b) {
  return a == b;
}

unsigned HotkeyModifiers(const THotkey& hotkey) {
  return (hotkey.Alt != 0 ? 1u : 0u) | (hotkey.Ctrl != 0 ? 2u : 0u) |
         (hotkey.Shift != 0 ? 4u : 0u) | (hotkey.Win != 0 ? 8u : 0u);
}

std::string HotkeyKeyDown(int virtualKey, THotkey& hotkey) {
  const bool modifier = IsModifierKey(virtualKey);
  // A new key after a complete combination starts a new one.
  if (hotkey.Key != 0) {
    if (modifier) {
      ClearModifiers(hotkey);
    } else if (AnyModifier(hotkey)) {
      ClearHotkey(hotkey);
    }
  }
  hotkey.Key = modifier ? 0 : KeptKey(virtualKey);
  if (modifier) ModifierFlag(virtualKey, hotkey) = 1;
  return ModifierPrefixes(hotkey) + " ";
}

std::string HotkeyKeyUp(int virtualKey, THotkey& hotkey) {
  const bool modifier = IsModifierKey(virtualKey);
  std::string text = KeyName(virtualKey);
  if (hotkey.Key == 0) {
    text = " ";
    if (modifier) ModifierFlag(virtualKey, hotkey) = 0;
  } else if (modifier) {
    text = KeyName(hotkey.Key);
  }
  text = ModifierPrefixes(hotkey) + text;
  if (text == " ") {
    ClearHotkey(hotkey);
    return "None";
  }
  hotkey.Key = KeptKey(hotkey.Key);
  return text;
}

void HotkeyKeyDown(TextBox& box, int virtualKey, THotkey& hotkey) {
  box.text = HotkeyKeyDown(virtualKey, hotkey);
}

void HotkeyKeyUp(TextBox& box, int virtualKey, THotkey& hotkey) {
  box.text = HotkeyKeyUp(virtualKey, hotkey);
}

}  // namespace pelorin
