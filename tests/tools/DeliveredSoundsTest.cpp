#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/WaveFile.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;

const fs::path kDelivered = PELORIN_BUILD_DIR "/share/pelorin/System/Snd";

std::string Alarm(int level) {
  return "C_Remind" + std::to_string(level) + ".wav";
}
std::string Chime(int level) {
  return "C_EveryHour" + std::to_string(level) + ".wav";
}

// The samples of a wave file as the suite's writer lays it out: 16-bit after a 44-byte
// header.
std::vector<std::int16_t> Samples(const fs::path& file) {
  const std::string bytes = ReadBytes(file);
  std::vector<std::int16_t> samples;
  for (std::size_t i = 44; i + 1 < bytes.size(); i += 2)
    samples.push_back(static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8));
  return samples;
}

double Rms(const std::vector<std::int16_t>& samples) {
  double sum = 0;
  for (const std::int16_t s : samples)
    sum += static_cast<double>(s) * s;
  return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

TEST(DeliveredSounds, EveryLevelIsAPlayableWaveAndLouderThanTheOneBelow) {
  double alarmBelow = 0;
  double chimeBelow = 0;
  for (int level = 0; level < 4; ++level) {
    SCOPED_TRACE(level);
    const auto alarm = ReadWaveFormat(kDelivered / Alarm(level));
    const auto chime = ReadWaveFormat(kDelivered / Chime(level));
    ASSERT_TRUE(alarm.has_value());
    ASSERT_TRUE(chime.has_value());
    for (const auto& format : {*alarm, *chime}) {
      EXPECT_EQ(format.sampleRate, 22050);
      EXPECT_EQ(format.channels, 1);
      EXPECT_EQ(format.bitsPerSample, 16);
    }
    // An alarm long enough to be a pattern when looped; a chime that is shorter.
    EXPECT_GE(alarm->DurationMs(), 2000);
    EXPECT_LE(alarm->DurationMs(), 3000);
    EXPECT_LT(chime->DurationMs(), alarm->DurationMs());

    const std::vector<std::int16_t> alarmSamples = Samples(kDelivered / Alarm(level));
    const std::vector<std::int16_t> chimeSamples = Samples(kDelivered / Chime(level));
    EXPECT_GT(Rms(alarmSamples), alarmBelow);
    EXPECT_GT(Rms(chimeSamples), chimeBelow);
    alarmBelow = Rms(alarmSamples);
    chimeBelow = Rms(chimeSamples);
    // The chime dies away to silence instead of stopping short.
    EXPECT_EQ(chimeSamples.back(), 0);
  }
  EXPECT_GT(alarmBelow, 3000) << "the loudest alarm is too quiet to wake anyone";
}

TEST(DeliveredSounds, EveryRunMakesTheSameBytes) {
  TempDir dir;
  ASSERT_EQ(
      testing::RunProgram(PELORIN_BUILD_DIR "/bin/soundgen", {dir.path().string()}).exitStatus, 0);
  for (int level = 0; level < 4; ++level) {
    EXPECT_EQ(ReadBytes(dir / Alarm(level)), ReadBytes(kDelivered / Alarm(level))) << level;
    EXPECT_EQ(ReadBytes(dir / Chime(level)), ReadBytes(kDelivered / Chime(level))) << level;
  }
  const auto refused = testing::RunProgram(PELORIN_BUILD_DIR "/bin/soundgen",
                                           {(dir / Alarm(0) / "below-a-file").string()});
  EXPECT_NE(refused.exitStatus, 0);
  EXPECT_NE(refused.err.find("soundgen: cannot"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace pelorin
