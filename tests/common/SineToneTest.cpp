#include "common/SineTone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace pelorin {
namespace {

TEST(SineTone, HasItsLengthPitchAndPeakAndStartsAndEndsAtRest) {
  const auto tone = SineTone(1000, 80, 48000, 0.5);
  ASSERT_EQ(tone.size(), 3840u);
  // 1000 Hz over 80 ms: 80 periods, two sign changes each.
  int crossings = 0;
  for (std::size_t i = 1; i < tone.size(); ++i)
    crossings += (tone[i - 1] < 0) != (tone[i] < 0);
  EXPECT_NEAR(crossings, 160, 2);
  const auto loudest = std::ranges::max(tone, {}, [](std::int16_t s) { return std::abs(s); });
  EXPECT_NEAR(std::abs(loudest), 16384, 20);
  // Faded in and out: no jump at either end that would click.
  EXPECT_EQ(tone.front(), 0);
  EXPECT_LT(std::abs(tone.back()), 50);
  EXPECT_LT(std::abs(tone[10]), 500);

  EXPECT_TRUE(SineTone(1000, 0, 48000, 0.5).empty());
  EXPECT_EQ(SineTone(1000, 2, 48000, 0.5).size(), 96u) << "a very short tone still sounds";
}

}  // namespace
}  // namespace pelorin
