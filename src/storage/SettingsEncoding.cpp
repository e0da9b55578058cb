#include "storage/SettingsEncoding.h"

#include <array>

#include "common/CodePage1251.h"
#include "common/Text.h"

namespace pelorin {
namespace {

// UpCaseText applied to each single byte of code page 1251, so that names in such a
// file fold without converting them to UTF-8 first.
const std::array<char, 256>& Cp1251FoldTable() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> folded{};
    for (int b = 0; b < 256; ++b) {
      const std::string byte(1, static_cast<char>(b));
      const auto raised = Utf8ToCp1251(UpCaseText(Cp1251ToUtf8(byte)));
      folded[b] = raised && raised->size() == 1 ? (*raised)[0] : byte[0];
    }
    return folded;
  }();
  return table;
}

char Fold(const std::array<char, 256>& table, char c) {
  return table[static_cast<unsigned char>(c)];
}

// Length of the UTF-8 character that the byte starts, judged by the byte alone.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

std::string RepairUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 2);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(bytes[pos]));
    if (length != 0 && pos + length <= bytes.size() && IsValidUtf8(bytes.substr(pos, length))) {
      text.append(bytes.substr(pos, length));
      pos += length;
    } else {
      text.append(Cp1251ToUtf8(bytes.substr(pos, 1)));
      ++pos;
    }
  }
  return text;
}

}  // namespace

SettingsEncoding DetectSettingsEncoding(std::string_view fileBytes) {
  return fileBytes.starts_with(kUtf8ByteOrderMark) ? SettingsEncoding::kUtf8
                                                   : SettingsEncoding::kCp1251;
}

std::string DecodeSettingsText(std::string_view bytes, SettingsEncoding encoding) {
  if (encoding == SettingsEncoding::kCp1251) return Cp1251ToUtf8(bytes);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return RepairUtf8(bytes);
}

std::optional<std::string> EncodeSettingsText(std::string_view text, SettingsEncoding encoding) {
  if (encoding == SettingsEncoding::kCp1251) return Utf8ToCp1251(text);
  return std::string(text);
}

std::string FoldSettingsName(std::string_view bytes, SettingsEncoding encoding) {
  if (encoding == SettingsEncoding::kUtf8) return UpCaseText(bytes);
  const auto& table = Cp1251FoldTable();
  std::string folded(bytes);
  for (char& c : folded)
    c = Fold(table, c);
  return folded;
}

std::optional<std::string> FoldedSettingsName(std::string_view name, SettingsEncoding encoding) {
  return EncodeSettingsText(UpCaseText(name), encoding);
}

bool SettingsNameMatches(std::string_view bytes, std::string_view folded,
                         SettingsEncoding encoding) {
  // Folding keeps the length in both encodings: a different length never matches.
  if (bytes.size() != folded.size()) return false;
  if (encoding == SettingsEncoding::kUtf8) return UpCaseText(bytes) == folded;
  const auto& table = Cp1251FoldTable();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (Fold(table, bytes[i]) != folded[i]) return false;
  }
  return true;
}

}  // namespace pelorin
