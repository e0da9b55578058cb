#include <gtest/gtest.h>

#include <vector>

#include "app/LoggedSimServices.h"
#include "common/WaveFile.h"
#include "sim/SimClock.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// The sim program tells on standard error what a sound card would have sounded.
TEST(LoggedSimSound, EachSoundIsALineOnStandardError) {
  TempDir dir;
  const std::string bell = (dir / "bell.wav").string();
  const std::string text = (dir / "notes.wav").string();
  ASSERT_TRUE(WriteWaveFile(bell, 8000, std::vector<std::int16_t>(800, 1000)));
  WriteBytes(text, "not a sound\n");
  sim::SimClock clock;
  app::LoggedSimSound sound(clock);
  const auto ring = sound.CreatePlayer("ring");

  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(ring->Play(bell, ports::Repeat::Loop));
  ring->Stop();
  ring->Stop();  // nothing plays: nothing to tell
  EXPECT_FALSE(ring->Play(text, ports::Repeat::Once));
  sound.Tone(1850, 80);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "pelorin (sim): sound ring play \"" + bell + "\" loop\n" +
                "pelorin (sim): sound ring stop\n" + "pelorin (sim): sound ring play \"" + text +
                "\" once: nothing to play\n" + "pelorin (sim): sound tone 1850 Hz 80 ms\n");
}

}  // namespace
}  // namespace pelorin
