#include "common/WaveFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Little(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}

// The `fmt ` chunk of a wave file: tag, channels, rate and bits, plus any extra bytes.
std::string FormatChunk(std::uint16_t tag, int channels, int rate, int bits,
                        const std::string& extra = {}) {
  const int frameBytes = channels * bits / 8;
  const std::string fields = Little(tag, 2) + Little(channels, 2) + Little(rate, 4) +
                             Little(rate * frameBytes, 4) + Little(frameBytes, 2) +
                             Little(bits, 2) + extra;
  return "fmt " + Little(static_cast<std::uint32_t>(fields.size()), 4) + fields;
}

// The extra bytes of an extensible header whose sub-format has the tag `subTag`.
std::string ExtensibleExtra(std::uint16_t subTag, int bits) {
  return Little(22, 2) + Little(bits, 2) + Little(4, 4) + Little(subTag, 2) +
         std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
}

std::string Riff(const std::string& chunks) {
  return "RIFF" + Little(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

TEST(WaveFile, WrittenSamplesReadBackAsMonoSixteenBitPcm) {
  TempDir dir;
  const std::vector<std::int16_t> samples = {0, 1000, -1000, 32767, -32768, 7};
  std::vector<std::int16_t> second(22050, 100);  // one second at 22050 Hz
  ASSERT_TRUE(WriteWaveFile(dir / "short.wav", 8000, samples));
  ASSERT_TRUE(WriteWaveFile(dir / "second.wav", 22050, second));

  const auto format = ReadWaveFormat(dir / "short.wav");
  ASSERT_TRUE(format.has_value());
  EXPECT_EQ(format->channels, 1);
  EXPECT_EQ(format->sampleRate, 8000);
  EXPECT_EQ(format->bitsPerSample, 16);
  EXPECT_EQ(format->dataBytes, samples.size() * 2);
  // The samples follow a 44-byte header, little-endian.
  const std::string bytes = ReadBytes(dir / "short.wav");
  ASSERT_EQ(bytes.size(), 44 + samples.size() * 2);
  EXPECT_EQ(bytes.substr(46, 4), Little(1000, 2) + Little(static_cast<std::uint16_t>(-1000), 2));
  EXPECT_EQ(bytes.substr(50, 4), std::string("\xFF\x7F\x00\x80", 4));

  EXPECT_EQ(ReadWaveFormat(dir / "second.wav")->DurationMs(), 1000);
  EXPECT_FALSE(WriteWaveFile(dir / "short.wav" / "below-a-file.wav", 8000, samples));
}

TEST(WaveFile, OnlyPlayablePcmSoundIsAccepted) {
  TempDir dir;
  const std::string pcm = FormatChunk(1, 2, 44100, 16);
  const std::string sound = "data" + Little(400, 4) + std::string(400, '\x01');
  struct Case {
    const char* what;
    std::string bytes;
    bool playable;
  };
  const std::vector<Case> cases = {
      {"plain PCM", Riff(pcm + sound), true},
      {"an unknown chunk before the sound",
       Riff(pcm + "LIST" + Little(3, 4) + std::string("abc\0", 4) + sound), true},
      {"extensible PCM", Riff(FormatChunk(0xFFFE, 2, 44100, 16, ExtensibleExtra(1, 16)) + sound),
       true},
      {"a text file", "This is not a sound at all, only words.\n", false},
      {"an empty file", "", false},
      {"a compressed format (ADPCM)", Riff(FormatChunk(2, 2, 44100, 16) + sound), false},
      {"compressed inside an extensible header",
       Riff(FormatChunk(0xFFFE, 2, 44100, 16, ExtensibleExtra(0x55, 16)) + sound), false},
      {"an extensible header cut short", Riff(FormatChunk(0xFFFE, 2, 44100, 16) + sound), false},
      {"sound before its format", Riff(sound + pcm), false},
      {"no sound data", Riff(pcm), false},
      {"an empty data chunk", Riff(pcm + "data" + Little(0, 4)), false},
      {"a data chunk that claims bytes it lacks", Riff(pcm + "data" + Little(4000, 4)), false},
      {"a format chunk longer than the file", Riff("fmt " + Little(9999, 4) + pcm.substr(8)),
       false},
      {"zero channels", Riff(FormatChunk(1, 0, 44100, 16) + sound), false},
      {"12 bits per sample", Riff(FormatChunk(1, 1, 44100, 12) + sound), false},
      {"a rate of 5 Hz", Riff(FormatChunk(1, 1, 5, 16) + sound), false},
      {"only the RIFF header", Riff(""), false},
  };
  for (const Case& c : cases) {
    WriteBytes(dir / "case.wav", c.bytes);
    EXPECT_EQ(ReadWaveFormat(dir / "case.wav").has_value(), c.playable) << c.what;
  }
  EXPECT_FALSE(ReadWaveFormat(dir / "missing.wav").has_value());
  EXPECT_FALSE(ReadWaveFormat(dir.path()).has_value()) << "a folder";
}

TEST(WaveFile, ATruncatedDataChunkCountsWhatTheFileHolds) {
  TempDir dir;
  // The header promises 2 s of 16-bit mono at 8000 Hz; the file holds a quarter second.
  WriteBytes(dir / "cut.wav", Riff(FormatChunk(1, 1, 8000, 16) + "data" + Little(32000, 4) +
                                   std::string(4000, 'x')));
  const auto format = ReadWaveFormat(dir / "cut.wav");
  ASSERT_TRUE(format.has_value());
  EXPECT_EQ(format->dataBytes, 4000u);
  EXPECT_EQ(format->DurationMs(), 250);
}

}  // namespace
}  // namespace pelorin
