#include "common/Drives.h"

#include <gtest/gtest.h>

namespace pelorin {
namespace {

TEST(DriveLetter, NumbersOneToTwentySixOnly) {
  EXPECT_EQ(DriveLetter(1), "A");
  EXPECT_EQ(DriveLetter(4), "D");
  EXPECT_EQ(DriveLetter(26), "Z");
  for (int outside : {0, 27, -1, 1000})
    EXPECT_EQ(DriveLetter(outside), " ") << outside;
}

TEST(DriveNumber, OneLetterInEitherCase) {
  EXPECT_EQ(DriveNumber("A"), 1);
  EXPECT_EQ(DriveNumber("c"), 3);
  EXPECT_EQ(DriveNumber("Z"), 26);
  for (const char* other : {"", " ", "@", "[", "`", "{", "1", "CD", "D:", "Д"}) {
    EXPECT_EQ(DriveNumber(other), 0) << other;
  }
  for (int n = 1; n <= 26; ++n)
    EXPECT_EQ(DriveNumber(DriveLetter(n)), n);
}

}  // namespace
}  // namespace pelorin
