#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelorin {

// The lexical rules of the settings-file format, shared by its reader and writer.

// Every line the writer produces ends with this.
inline constexpr std::string_view kSettingsLineEnd = "\r\n";

// Lines end with a line feed, a carriage return and line feed, or a carriage return
// alone (files saved by old Macintosh editors), as the Windows profile functions read
// them.
constexpr bool IsSettingsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

// Blanks around names and values are not part of them: spaces, tabs, vertical tabs,
// form feeds and the DOS end-of-file mark (Ctrl+Z), which the Windows functions skip
// as well.
constexpr bool IsSettingsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view TrimSettingsBlanks(std::string_view text);

// A trimmed value as it is read: one pair of matching quotes (" or ') around it removed.
std::string_view UnquoteSettingsValue(std::string_view trimmed);

// The text to store for `value` so that reading it gives `value` back: a value with
// blanks at either end, or one that is itself wrapped in a pair of matching quotes, is
// stored in double quotes (which the reader removes); any other value as it is.
std::string QuoteSettingsValue(std::string_view value);

// An integer as stored: a text longer than two characters that begins with "0x" or "0X"
// is hexadecimal (up to 32 bits, taken as a signed 32-bit pattern: "0xFFFFFFFF" is -1);
// any other text is a signed decimal number. Nothing for a text that is not a number
// or does not fit.
std::optional<int> ParseSettingsInteger(std::string_view text);

}  // namespace pelorin
