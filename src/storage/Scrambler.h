#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/FileError.h"

namespace pelorin {

// The triplet scrambler that guards the scrambled settings files. Every plain byte is
// stored twice (once seen from the front of the file, once from the back, shifted by
// the key) with the average of the pair between them, so a file that was edited by
// hand, cut short or lengthened no longer unscrambles. Only the key's low byte counts:
// keys that differ by a multiple of 256 scramble identically.

// The 3·n scrambled bytes of n plain bytes. Triplet j describes plain bytes j and
// n-1-j; an even j is stored front, average, back and an odd j back, average, front.
std::string ScrambleBlock(std::string_view plain, std::uint16_t key);

// The n plain bytes of 3·n scrambled bytes, or nothing when a middle byte is not the
// average of its neighbours, a byte seen from the front differs from its mirror seen
// from the back, or the length is not a multiple of 3. Empty input gives empty output.
std::optional<std::string> UnscrambleBlock(std::string_view scrambled, std::uint16_t key);

// Replaces `destination` (atomically, readable by the owner only: scrambled files hold
// passwords) with the scrambled form of `source`. True when the destination now holds
// it. False when the source is missing or unreadable, when the write was refused, and
// for an empty source: an empty file has no scrambled form that unscrambles again, so
// nothing is written and the destination keeps what it held. On false the destination
// is untouched, and `refusal` (when given) names the file the system refused and why;
// its cause is empty for a missing or empty source.
bool ScrambleFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                  std::uint16_t key, FileError* refusal = nullptr);

enum class UnscrambleOutcome {
  kUnscrambled,  // the destination holds the plain bytes
  kMissing,      // there is no source
  kDamaged,      // the source is not a valid scrambled file
  kRefused,      // the system refused to read the source or write the destination
};

// Replaces `destination` (atomically, as a transient file: without waiting for the
// disk; readable by the owner only) with the plain bytes of the scrambled file
// `source`. The source is damaged when it is shorter than 3 bytes, not a multiple of 3
// long or rejected by UnscrambleBlock. Unless the outcome is kUnscrambled the
// destination is untouched; for kRefused, `refusal` names the file and the reason.
UnscrambleOutcome UnscrambleFile(const std::filesystem::path& source,
                                 const std::filesystem::path& destination, std::uint16_t key,
                                 FileError& refusal);
// True when the outcome is kUnscrambled.
bool UnscrambleFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    std::uint16_t key);

}  // namespace pelorin
