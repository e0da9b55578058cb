#include "storage/Scrambler.h"

#include "common/AtomicFile.h"

namespace pelorin {
namespace {

using Byte = unsigned char;

constexpr std::size_t kTripletSize = 3;

// The average of two bytes, their sum taken without wrapping.
inline Byte Average(unsigned a, unsigned b) {
  return static_cast<Byte>((a + b) >> 1);
}

// The position of the byte seen from the front in triplet i: first in an even
// triplet, last in an odd one.
constexpr std::size_t FrontAt(std::size_t i, bool odd) {
  return i * kTripletSize + (odd ? 2 : 0);
}

// Unscrambles n triplets into `out` and returns 0 when every check passed. Triplet i
// holds f (the byte from the front) and o (the byte from the back, shifted a second
// time): the middle must be their average, and o - k must equal the byte from the
// front of the mirror triplet n-1-i. Mismatches are collected in the result instead
// of leaving the loop, which keeps the loop free of unpredictable branches; a damaged
// file is rare. Triplets go in pairs (even i, odd i) so that their order is fixed;
// `kMirrorOfEvenIsOdd` fixes the order of the mirror triplets the same way.
template <bool kMirrorOfEvenIsOdd>
unsigned UnscrambleTriplets(const Byte* in, Byte* out, std::size_t n, Byte k) {
  unsigned bad = 0;
  std::size_t i = 0;
  for (; i + 1 < n; i += 2) {
    const Byte* t = in + i * kTripletSize;
    const std::size_t m = n - 1 - i;
    bad |= static_cast<unsigned>(Average(t[0], t[2]) ^ t[1]);
    bad |= static_cast<unsigned>(static_cast<Byte>(t[2] - k) ^ in[FrontAt(m, kMirrorOfEvenIsOdd)]);
    bad |= static_cast<unsigned>(Average(t[3], t[5]) ^ t[4]);
    bad |= static_cast<unsigned>(static_cast<Byte>(t[3] - k) ^
                                 in[FrontAt(m - 1, !kMirrorOfEvenIsOdd)]);
    out[i] = static_cast<Byte>(t[0] - k);
    out[i + 1] = static_cast<Byte>(t[5] - k);
  }
  if (i < n) {  // a last, even triplet
    const Byte* t = in + i * kTripletSize;
    bad |= static_cast<unsigned>(Average(t[0], t[2]) ^ t[1]);
    bad |= static_cast<unsigned>(static_cast<Byte>(t[2] - k) ^
                                 in[FrontAt(n - 1 - i, kMirrorOfEvenIsOdd)]);
    out[i] = static_cast<Byte>(t[0] - k);
  }
  return bad;
}

}  // namespace

std::string ScrambleBlock(std::string_view plain, std::uint16_t key) {
  const std::size_t n = plain.size();
  std::string scrambled(n * kTripletSize, '\0');
  if (n == 0) return scrambled;

  const Byte k = static_cast<Byte>(key);
  const Byte k2 = static_cast<Byte>(2 * k);  // the byte from the back is shifted twice
  const Byte* in = reinterpret_cast<const Byte*>(plain.data());
  Byte* out = reinterpret_cast<Byte*>(scrambled.data());

  // Pairs of triplets, even j then odd j, so that the loop body has no branch.
  std::size_t j = 0;
  for (; j + 1 < n; j += 2, out += 2 * kTripletSize) {
    const Byte c0 = static_cast<Byte>(in[j] + k);
    const Byte d0 = static_cast<Byte>(in[n - 1 - j] + k2);
    out[0] = c0;
    out[1] = Average(c0, d0);
    out[2] = d0;
    const Byte c1 = static_cast<Byte>(in[j + 1] + k);
    const Byte d1 = static_cast<Byte>(in[n - 2 - j] + k2);
    out[3] = d1;
    out[4] = Average(c1, d1);
    out[5] = c1;
  }
  if (j < n) {  // a last, even triplet
    const Byte c = static_cast<Byte>(in[j] + k);
    const Byte d = static_cast<Byte>(in[n - 1 - j] + k2);
    out[0] = c;
    out[1] = Average(c, d);
    out[2] = d;
  }
  return scrambled;
}

std::optional<std::string> UnscrambleBlock(std::string_view scrambled, std::uint16_t key) {
  if (scrambled.size() % kTripletSize != 0) return std::nullopt;
  const std::size_t n = scrambled.size() / kTripletSize;
  std::string plain(n, '\0');

  const Byte k = static_cast<Byte>(key);
  const Byte* in = reinterpret_cast<const Byte*>(scrambled.data());
  Byte* out = reinterpret_cast<Byte*>(plain.data());
  // The mirror of an even triplet is odd exactly when n is even.
  const unsigned bad = n % 2 == 0 ? UnscrambleTriplets<true>(in, out, n, k)
                                  : UnscrambleTriplets<false>(in, out, n, k);
  if (bad != 0) return std::nullopt;
  return plain;
}

bool ScrambleFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                  std::uint16_t key, FileError* refusal) {
  FileError error{FileError::Operation::Read, source, {}};
  const std::optional<std::string> plain = ReadWholeFile(source, error.cause);
  // A missing source is no refusal: there is simply nothing to scramble.
  if (!plain && error.cause == std::errc::no_such_file_or_directory) error.cause.clear();
  bool written = false;
  if (plain && !plain->empty()) {
    error = {FileError::Operation::Write, destination, {}};
    written = WriteFileAtomically(destination, ScrambleBlock(*plain, key),
                                  {Durability::Durable, FileAccess::OwnerOnly}, error.cause);
  }
  if (!written && refusal != nullptr) *refusal = error;
  return written;
}

UnscrambleOutcome UnscrambleFile(const std::filesystem::path& source,
                                 const std::filesystem::path& destination, std::uint16_t key,
                                 FileError& refusal) {
  refusal = {FileError::Operation::Read, source, {}};
  const std::optional<std::string> scrambled = ReadWholeFile(source, refusal.cause);
  if (!scrambled) {
    return refusal.cause == std::errc::no_such_file_or_directory ? UnscrambleOutcome::kMissing
                                                                 : UnscrambleOutcome::kRefused;
  }
  refusal.cause.clear();
  if (scrambled->size() < kTripletSize) return UnscrambleOutcome::kDamaged;
  const std::optional<std::string> plain = UnscrambleBlock(*scrambled, key);
  if (!plain) return UnscrambleOutcome::kDamaged;
  // The plain form is the transient twin of a scrambled file, made again from it
  // whenever it is needed; it holds what the scrambled file protects.
  refusal = {FileError::Operation::Write, destination, {}};
  if (!WriteFileAtomically(destination, *plain, {Durability::Transient, FileAccess::OwnerOnly},
                           refusal.cause)) {
    return UnscrambleOutcome::kRefused;
  }
  return UnscrambleOutcome::kUnscrambled;
}

bool UnscrambleFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    std::uint16_t key) {
  FileError ignored;
  return UnscrambleFile(source, destination, key, ignored) == UnscrambleOutcome::kUnscrambled;
}

}  // namespace pelorin
