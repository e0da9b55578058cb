#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelorin {

// How the bytes of a settings file hold its text: code page 1251, or UTF-8 when the
// file starts with the UTF-8 byte-order mark. Names and values are UTF-8 inside the
// suite; these functions convert between the two and fold names for comparison
// (UpCaseText) directly in the file's own bytes.
enum class SettingsEncoding { kCp1251, kUtf8 };

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

SettingsEncoding DetectSettingsEncoding(std::string_view fileBytes);

// The UTF-8 text of bytes taken from a file. In a UTF-8 file a byte that does not
// start a well-formed character is read as its code page 1251 character, so damaged
// text still reads as something and nothing is dropped.
std::string DecodeSettingsText(std::string_view bytes, SettingsEncoding encoding);

// The bytes of a UTF-8 text in the file's encoding; nothing when it cannot hold it.
std::optional<std::string> EncodeSettingsText(std::string_view text, SettingsEncoding encoding);

// The folded bytes of a name taken from a file.
std::string FoldSettingsName(std::string_view bytes, SettingsEncoding encoding);

// The folded bytes of a UTF-8 name in the file's encoding, ready to be compared with
// SettingsNameMatches; nothing when the encoding cannot hold the name (then no name
// of such a file matches it).
std::optional<std::string> FoldedSettingsName(std::string_view name, SettingsEncoding encoding);

// Whether a name taken from a file folds to `folded`.
bool SettingsNameMatches(std::string_view bytes, std::string_view folded,
                         SettingsEncoding encoding);

}  // namespace pelorin
