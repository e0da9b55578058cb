#include "common/CodePage1251.h"

#include <array>
#include <cstdint>

namespace pelorin {
namespace {

// Characters of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
};

char16_t CharOfByte(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return static_cast<char16_t>(0x0410 + (b - 0xC0));
  return kHighHalf[b - 0x80];
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The UTF-8 form of each byte, built once.
struct Utf8OfByte {
  std::array<std::array<char, 4>, 256> bytes{};
  std::array<std::uint8_t, 256> length{};
  Utf8OfByte() {
    for (int b = 0; b < 256; ++b) {
      std::string s;
      AppendUtf8(s, CharOfByte(static_cast<unsigned char>(b)));
      length[b] = static_cast<std::uint8_t>(s.size());
      for (std::size_t i = 0; i < s.size(); ++i)
        bytes[b][i] = s[i];
    }
  }
};

const Utf8OfByte& Utf8Table() {
  static const Utf8OfByte table;
  return table;
}

// Decodes one character at `pos`; advances `pos`. Returns false on malformed input.
bool DecodeUtf8(std::string_view s, std::size_t& pos, char32_t& c) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  int extra;
  if (b0 < 0x80) {
    c = b0;
    ++pos;
    return true;
  } else if ((b0 & 0xE0) == 0xC0 && b0 >= 0xC2) {
    c = b0 & 0x1F;
    extra = 1;
  } else if ((b0 & 0xF0) == 0xE0) {
    c = b0 & 0x0F;
    extra = 2;
  } else if ((b0 & 0xF8) == 0xF0 && b0 <= 0xF4) {
    c = b0 & 0x07;
    extra = 3;
  } else {
    return false;
  }
  if (pos + static_cast<std::size_t>(extra) >= s.size()) return false;
  for (int i = 1; i <= extra; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) return false;
    c = (c << 6) | (b & 0x3F);
  }
  if ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
      (extra == 3 && (c < 0x10000 || c > 0x10FFFF))) {
    return false;
  }
  pos += extra + 1;
  return true;
}

int ByteOfChar(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(0xC0 + (c - 0x0410));
  for (int i = 0; i < 64; ++i) {
    if (kHighHalf[i] == c) return 0x80 + i;
  }
  return -1;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
  const auto& table = Utf8Table();
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else {
      out.append(table.bytes[b].data(), table.length[b]);
    }
  }
  return out;
}

std::optional<std::string> Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto b0 = static_cast<unsigned char>(utf8[pos]);
    if (b0 < 0x80) {
      out.push_back(static_cast<char>(b0));
      ++pos;
      continue;
    }
    char32_t c;
    if (!DecodeUtf8(utf8, pos, c)) return std::nullopt;
    const int b = ByteOfChar(c);
    if (b < 0) return std::nullopt;
    out.push_back(static_cast<char>(b));
  }
  return out;
}

bool FitsCp1251(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
      ++pos;
      continue;
    }
    char32_t c;
    if (!DecodeUtf8(utf8, pos, c) || ByteOfChar(c) < 0) return false;
  }
  return true;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t pos = 0;
  char32_t c;
  while (pos < bytes.size()) {
    if (!DecodeUtf8(bytes, pos, c)) return false;
  }
  return true;
}

}  // namespace pelorin
