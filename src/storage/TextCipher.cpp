#include "storage/TextCipher.h"

#include <array>
#include <optional>

#include "common/AtomicFile.h"
#include "common/CodePage1251.h"

namespace pelorin {
namespace {

using ByteTable = std::array<unsigned char, 256>;

constexpr unsigned kModulus = 255;

std::string PassphraseBytes(std::string_view passphrase) {
  std::optional<std::string> cp1251 = Utf8ToCp1251(passphrase);
  return cp1251 ? std::move(*cp1251) : std::string(passphrase);
}

ByteTable EncodeTable(unsigned s) {
  ByteTable table{};
  for (unsigned x = 0; x < table.size(); ++x) {
    const unsigned y = x + s;
    table[x] = static_cast<unsigned char>(y <= kModulus ? y : y - kModulus);
  }
  return table;
}

ByteTable DecodeTable(unsigned s) {
  ByteTable table{};
  for (unsigned y = 0; y < table.size(); ++y) {
    table[y] = static_cast<unsigned char>(y > s ? y - s : y + kModulus - s);
  }
  return table;
}

std::string Translate(std::string_view bytes, const ByteTable& table) {
  std::string result(bytes.size(), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    result[i] = static_cast<char>(table[static_cast<unsigned char>(bytes[i])]);
  }
  return result;
}

bool TranslateFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                   const ByteTable& table) {
  const std::optional<std::string> bytes = ReadWholeFile(source);
  if (!bytes) return false;
  return WriteFileAtomically(destination, Translate(*bytes, table));
}

}  // namespace

std::uint8_t KeySum(std::string_view passphrase) {
  unsigned s = 0;
  for (const char c : PassphraseBytes(passphrase)) {
    s += static_cast<unsigned char>(c);
    if (s > kModulus) s -= kModulus;
  }
  return static_cast<std::uint8_t>(s);
}

std::string EncodeTextBlock(std::string_view bytes, std::string_view passphrase) {
  return Translate(bytes, EncodeTable(KeySum(passphrase)));
}

std::string DecodeTextBlock(std::string_view bytes, std::string_view passphrase) {
  return Translate(bytes, DecodeTable(KeySum(passphrase)));
}

bool EncodeTextFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    std::string_view passphrase) {
  return TranslateFile(source, destination, EncodeTable(KeySum(passphrase)));
}

bool DecodeTextFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    std::string_view passphrase) {
  return TranslateFile(source, destination, DecodeTable(KeySum(passphrase)));
}

}  // namespace pelorin
