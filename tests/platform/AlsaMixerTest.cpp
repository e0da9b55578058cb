#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "linux/AlsaMixer.h"
#include "linux/AlsaVolumeScale.h"
#include "platform/ScopedEnvironmentVariable.h"
#include "sim/SimLog.h"
#include "support/Eventually.h"
#include "support/PrivatePulseServer.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using lnx::AlsaMixer;
using lnx::ToChannelValue;
using lnx::ToRawVolume;

TEST(AlsaMixer, RawVolumesScaleToChannelValuesAndBack) {
  struct Case {
    long raw, min, max;
    int value;
  };
  const Case cases[] = {
      {0, 0, 31, 0},
      {31, 0, 31, 65535},
      {16, 0, 31, 33825},  // 33824.5 rounds up
      {40, 0, 31, 65535},
      {-3, 0, 31, 0},  // clamped to the range
      {-5120, -10239, 0, 32764},
      {0, -10239, 0, 65535},  // negative ranges
      {32768, 0, 65536, 32768},
      {7, 7, 7, 0},  // an empty range
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToChannelValue(c.raw, c.min, c.max), c.value)
        << c.raw << " in " << c.min << ".." << c.max;

  // Every raw step survives the way there and back, so a value read and written back
  // (as the volume lock does) leaves the volume where it was.
  const std::pair<long, long> ranges[] = {{0, 31}, {0, 127}, {-10239, 0}, {0, 65535}};
  for (const auto& [min, max] : ranges) {
    for (long raw = min; raw <= max; raw += std::max(1L, (max - min) / 200)) {
      const int value = ToChannelValue(raw, min, max);
      EXPECT_EQ(ToRawVolume(value, min, min, max), raw) << raw;
      EXPECT_EQ(ToRawVolume(value, raw, min, max), raw) << raw;
    }
  }
}

TEST(AlsaMixer, WritesTakeTheNearestStepButAlwaysMoveTowardANewValue) {
  const int at16 = ToChannelValue(16, 0, 31);
  struct Case {
    int value;
    long present;
    long raw;
  };
  const Case cases[] = {
      {33418, 0, 16},        // (50 + 1) * 65535 / 100: nearest step
      {at16 + 655, 16, 17},  // one per cent up on a 32-step control still moves
      {at16 - 655, 16, 15},
      {at16, 16, 16},
      {65535, 31, 31},  // already at the top
      {0, 0, 0},
      {70000, 3, 31},
      {-5, 3, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToRawVolume(c.value, c.present, 0, 31), c.raw) << c.value << " from " << c.present;
  EXPECT_EQ(ToRawVolume(40000, 9, 9, 9), 9);  // an empty range
}

TEST(AlsaMixer, AbsentDevicesAndLinesGiveNothing) {
  sim::SimLog backendLog;
  AlsaMixer mixer(backendLog);
  testing::Eventually([&] { return mixer.Known(); });
  const int count = mixer.DeviceCount();
  for (const int device : {-1, count, count + 5}) {
    EXPECT_EQ(mixer.DeviceName(device), "");
    EXPECT_TRUE(mixer.Lines(device).empty());
    EXPECT_EQ(mixer.ChannelValues(device, 0, -1), std::nullopt);
    EXPECT_FALSE(mixer.SetChannelValues(device, 0, -1, {1000}));
  }
}

// ALSA's failures reach the log with ALSA's reason, each failing device once however
// often the worker meets it: here every device, as ALSA cannot read its configuration.
TEST(AlsaMixer, ALSAFailuresAreLoggedOnceWithTheirReason) {
  testing::TempDir dir;
  testing::WriteBytes(dir / "asound.conf", "this is { not a configuration\n");
  sim::SimLog backendLog;
  {
    const testing::ScopedEnvironmentVariable config("ALSA_CONFIG_PATH",
                                                    (dir / "asound.conf").string());
    snd_config_update_free_global();
    AlsaMixer mixer(backendLog);
    EXPECT_TRUE(testing::Eventually([&] { return mixer.Known(); }));
  }
  snd_config_update_free_global();  // the next test reads the real configuration

  const auto& lines = backendLog.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].text, "control of default: snd_ctl_open: Invalid argument");
  std::set<std::string> seen;
  for (const auto& line : lines) {
    EXPECT_EQ(line.source, "alsa");
    EXPECT_NE(line.text.find(": Invalid argument"), std::string::npos) << line.text;
    EXPECT_TRUE(seen.insert(line.text).second) << "repeated: " << line.text;
  }
}

// The lines of this machine's mixers; a machine with none (no sound card, no sound
// server) gets a PulseAudio server of the test's own, whose mixer ALSA then shows.
TEST(AlsaMixer, ReadsAndWritesTheLinesOfThisMachine) {
  std::unique_ptr<testing::PrivatePulseServer> server;
  sim::SimLog backendLog;
  std::optional<testing::ScopedEnvironmentVariable> address;
  const bool machineHasMixer = [&] {
    AlsaMixer present(backendLog);
    return testing::Eventually([&] { return present.Known(); }) && present.DeviceCount() > 0;
  }();
  if (!machineHasMixer) {
    server = std::make_unique<testing::PrivatePulseServer>();
    ASSERT_TRUE(server->Running()) << server->Log();
    address.emplace("PULSE_SERVER", server->Address());
    // ALSA reads its configuration, and with it whether its default device leads to
    // PulseAudio, once per process: make it read it again now that a server runs.
    snd_config_update_free_global();
  }
  AlsaMixer mixer(backendLog);
  testing::Eventually([&] { return mixer.Known(); });
  ASSERT_GT(mixer.DeviceCount(), 0) << "ALSA shows no mixer, not even the sound server's";

  for (int device = 0; device < mixer.DeviceCount(); ++device) {
    EXPECT_FALSE(mixer.DeviceName(device).empty());
    const auto lines = mixer.Lines(device);
    std::set<std::string> names;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].destination, static_cast<int>(i));
      EXPECT_EQ(lines[i].source, -1);
      EXPECT_TRUE(names.insert(lines[i].name).second) << lines[i].name;
      const auto values = mixer.ChannelValues(device, lines[i].destination, -1);
      ASSERT_TRUE(values.has_value()) << lines[i].name;
      for (const int v : *values)
        EXPECT_TRUE(v >= 0 && v <= 65535) << v;
    }
    EXPECT_EQ(mixer.ChannelValues(device, static_cast<int>(lines.size()), -1), std::nullopt);
    EXPECT_EQ(mixer.ChannelValues(device, 0, 0), std::nullopt);  // ALSA lines have no sources
  }

  // Move the first line of the first device and put it back.
  if (mixer.Lines(0).empty()) GTEST_SKIP() << "the first mixer has no volume";
  const auto original = *mixer.ChannelValues(0, 0, -1);
  std::vector<int> moved;
  for (const int v : original)
    moved.push_back(v > 32767 ? v - 20000 : v + 20000);
  EXPECT_TRUE(mixer.SetChannelValues(0, 0, -1, moved));
  const auto after = *mixer.ChannelValues(0, 0, -1);
  ASSERT_EQ(after.size(), original.size());
  for (std::size_t c = 0; c < after.size(); ++c)
    EXPECT_LT(std::abs(after[c] - moved[c]), std::abs(original[c] - moved[c])) << c;
  EXPECT_TRUE(mixer.SetChannelValues(0, 0, -1, original));
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), original);
}

}  // namespace
}  // namespace pelorin
