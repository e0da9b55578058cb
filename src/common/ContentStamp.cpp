#include "common/ContentStamp.h"

#include <sys/xattr.h>

#include <array>
#include <cstdint>
#include <cstdio>

namespace pelorin {
namespace {

constexpr const char* kAttributeName = "user.pelorin.content";
// "<length>:<16 hex digits>" fits easily.
constexpr std::size_t kMaxStampSize = 64;

std::uint64_t Fnv1a64(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

}  // namespace

std::string ContentStampOf(std::string_view bytes) {
  std::array<char, kMaxStampSize> text{};
  const int n = std::snprintf(text.data(), text.size(), "%zu:%016llx", bytes.size(),
                              static_cast<unsigned long long>(Fnv1a64(bytes)));
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
