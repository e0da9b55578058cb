#include "common/ContentStamp.h"

#include <sys/xattr.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace pelorin {
namespace {

constexpr const char* kAttributeName = "user.pelorin.content";
// "<length>:<16 hex digits>" fits easily.
constexpr std::size_t kMaxStampSize = 64;

// FNV-1a's step over 8-byte words, each followed by a shift that folds the high bits
// back: every step is a bijection of the running hash, so any change of a single word
// changes the result. About five times as fast as FNV-1a over single bytes.
std::uint64_t WordHash(std::string_view bytes) {
  constexpr std::uint64_t kPrime = 0x100000001b3ULL;
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  std::size_t i = 0;
  for (; i + sizeof(std::uint64_t) <= bytes.size(); i += sizeof(std::uint64_t)) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, sizeof word);
    hash = (hash ^ word) * kPrime;
    hash ^= hash >> 29;
  }
  for (; i < bytes.size(); ++i)
    hash = (hash ^ static_cast<unsigned char>(bytes[i])) * kPrime;
  return hash;
}

}  // namespace

std::string ContentStampOf(std::string_view bytes) {
  std::array<char, kMaxStampSize> text{};
  const int n = std::snprintf(text.data(), text.size(), "%zu:%016llx", bytes.size(),
                              static_cast<unsigned long long>(WordHash(bytes)));
  return std::string(text.data(), static_cast<std::size_t>(n));
}

bool AttachContentStamp(int fd, std::string_view bytes) {
  const std::string stamp = ContentStampOf(bytes);
  return ::fsetxattr(fd, kAttributeName, stamp.data(), stamp.size(), 0) == 0;
}

bool CarriesContentStamp(const std::filesystem::path& file, std::string_view bytes) {
  std::array<char, kMaxStampSize> stored{};
  const ssize_t n = ::getxattr(file.c_str(), kAttributeName, stored.data(), stored.size());
  if (n <= 0) return false;
  return std::string_view(stored.data(), static_cast<std::size_t>(n)) == ContentStampOf(bytes);
}

}  // namespace pelorin
