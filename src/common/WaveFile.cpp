#include "common/WaveFile.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string>
#include <string_view>

#include "common/AtomicFile.h"

namespace pelorin {
namespace {

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kExtensibleFormat = 0xFFFE;
// The fields of an extensible `fmt ` chunk, and where its sub-format's tag sits.
constexpr std::size_t kExtensibleFieldsBytes = 40;
constexpr std::size_t kSubFormatOffset = 24;

std::uint32_t Little32(const char* bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
         std::uint32_t{b[3]} << 24;
}

std::uint16_t Little16(const char* bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

void Put32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<char>(value >> shift));
}

void Put16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value));
  out.push_back(static_cast<char>(value >> 8));
}

bool PlausibleFormat(const WaveFormat& format) {
  const int bits = format.bitsPerSample;
  return format.channels >= 1 && format.channels <= 8 && format.sampleRate >= 1000 &&
         format.sampleRate <= 384000 && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

}  // namespace

std::int64_t WaveFormat::DurationMs() const {
  const std::int64_t frameBytes = std::int64_t{channels} * (bitsPerSample / 8);
  if (frameBytes <= 0 || sampleRate <= 0) return 0;
  return std::int64_t{dataBytes} / frameBytes * 1000 / sampleRate;
}

std::optional<WaveFormat> ReadWaveFormat(const std::filesystem::path& file) {
  std::error_code error;
  const auto fileSize = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  std::array<char, 12> riff{};
  if (!in.read(riff.data(), riff.size())) return std::nullopt;
  if (std::string_view(riff.data(), 4) != "RIFF" || std::string_view(riff.data() + 8, 4) != "WAVE")
    return std::nullopt;

  WaveFormat format;
  bool haveFormat = false;
  std::uint64_t position = riff.size();
  std::array<char, 8> chunk{};
  // Chunks follow one another, each padded to an even length; `fmt ` must come before
  // `data`, as every writer puts it.
  while (in.read(chunk.data(), chunk.size())) {
    position += chunk.size();
    const std::string_view id(chunk.data(), 4);
    const std::uint32_t size = Little32(chunk.data() + 4);
    if (id == "fmt ") {
      if (size < 16) return std::nullopt;
      std::array<char, kExtensibleFieldsBytes> fields{};
      const std::size_t fieldsRead = std::min<std::size_t>(size, fields.size());
      if (!in.read(fields.data(), static_cast<std::streamsize>(fieldsRead))) return std::nullopt;
      std::uint16_t tag = Little16(fields.data());
      // The extensible header names its real encoding in the first two bytes of its
      // sub-format identifier; it is as often compressed as not.
      if (tag == kExtensibleFormat) {
        if (fieldsRead < kExtensibleFieldsBytes) return std::nullopt;
        tag = Little16(fields.data() + kSubFormatOffset);
      }
      if (tag != kPcmFormat) return std::nullopt;
      format.channels = Little16(fields.data() + 2);
      format.sampleRate = static_cast<int>(Little32(fields.data() + 4));
      format.bitsPerSample = Little16(fields.data() + 14);
      if (!PlausibleFormat(format)) return std::nullopt;
      haveFormat = true;
      in.seekg(static_cast<std::streamoff>(size - fieldsRead + (size & 1)), std::ios::cur);
    } else if (id == "data") {
      if (!haveFormat) return std::nullopt;
      const std::uint64_t held = fileSize > position ? fileSize - position : 0;
      format.dataBytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, held));
      const auto frameBytes =
          static_cast<std::uint32_t>(format.channels * format.bitsPerSample / 8);
      if (format.dataBytes < frameBytes) return std::nullopt;  // no sound at all
      return format;
    } else {
      in.seekg(static_cast<std::streamoff>(size + (size & 1)), std::ios::cur);
    }
    position += size + (size & 1);
    if (position > fileSize) return std::nullopt;
  }
  return std::nullopt;
}

bool WriteWaveFile(const std::filesystem::path& file, int sampleRate,
                   std::span<const std::int16_t> samples) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  Put32(out, 36 + dataBytes);
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, kPcmFormat);
  Put16(out, 1);  // mono
  Put32(out, static_cast<std::uint32_t>(sampleRate));
  Put32(out, static_cast<std::uint32_t>(sampleRate) * 2);
  Put16(out, 2);  // bytes per frame
  Put16(out, 16);
  out += "data";
  Put32(out, dataBytes);
  for (const std::int16_t sample : samples)
    Put16(out, static_cast<std::uint16_t>(sample));
  return WriteFileAtomically(file, out, Durability::Transient);
}

}  // namespace pelorin
