#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace pelorin {

// What the header of a RIFF wave file says about its sound.
struct WaveFormat {
  int channels = 0;
  int sampleRate = 0;     // frames per second
  int bitsPerSample = 0;  // 8, 16, 24 or 32
  std::uint32_t dataBytes = 0;
  // The sound's length in milliseconds, rounded down.
  std::int64_t DurationMs() const;
};

// The format of an uncompressed PCM wave file, or nothing for a missing or unreadable
// file, one that is not RIFF/WAVE, a compressed format, impossible figures or no
// sound data at all: a file the suite does not play. A data chunk that claims more
// than the file holds counts as what the file holds.
std::optional<WaveFormat> ReadWaveFormat(const std::filesystem::path& file);

// Writes 16-bit mono PCM samples at `sampleRate` as a wave file (whole or not at all).
// False when it could not be written.
bool WriteWaveFile(const std::filesystem::path& file, int sampleRate,
                   std::span<const std::int16_t> samples);

}  // namespace pelorin
