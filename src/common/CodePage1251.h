#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelorin {

// Text inside the suite is UTF-8; files keep the Windows Cyrillic code page 1251.
// Every byte of code page 1251 has a character (0x98, unused by Windows, maps to
// U+0098), so bytes -> UTF-8 -> bytes is lossless.

std::string Cp1251ToUtf8(std::string_view bytes);

// The code page 1251 bytes of a UTF-8 text, or nothing when the text holds a
// character that the code page cannot represent or is not valid UTF-8.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8);

// Whether every character of the UTF-8 text has a code page 1251 byte.
bool FitsCp1251(std::string_view utf8);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace pelorin
