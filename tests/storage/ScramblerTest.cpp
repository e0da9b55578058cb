#include "storage/Scrambler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::uint16_t kKey = 857;  // 857 mod 256 = 89

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (const int v : values)
    s.push_back(static_cast<char>(v));
  return s;
}

std::string EveryByteValue() {
  std::string s;
  for (int v = 0; v < 256; ++v)
    s.push_back(static_cast<char>(v));
  return s;
}

struct KnownCase {
  const char* what;
  std::string plain;
  std::uint16_t key;
  std::string scrambled;
};

// Worked by hand: t = p + k; triplet j holds c = t[j], d = t[n-1-j] + k and their
// average, c first for an even j and d first for an odd j.
TEST(ScramblerTest, ScrambleBlockMatchesWorkedExamples) {
  const std::vector<KnownCase> cases = {
      {"one byte: middle is the average of the outer two", Bytes({0xFF}), kKey,
       Bytes({88, 132, 177})},
      {"odd triplet stored back to front", "AB", kKey, Bytes({154, 199, 244, 243, 199, 155})},
      {"average rounds down", Bytes({0, 1}), 0, Bytes({0, 0, 1, 0, 0, 1})},
      {"key 0 keeps the bytes", "abc", 0,
       Bytes({'a', ('a' + 'c') / 2, 'c', 'b', 'b', 'b', 'c', ('a' + 'c') / 2, 'a'})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ScrambleBlock(c.plain, c.key), c.scrambled);
    EXPECT_EQ(UnscrambleBlock(c.scrambled, c.key), c.plain);
  }
}

TEST(ScramblerTest, EveryByteValueRoundTripsWithEveryKindOfKey) {
  const std::string all = EveryByteValue();
  for (const std::uint16_t key : {0, 1, 89, 255, 256, 857, 65535}) {
    SCOPED_TRACE(key);
    for (const std::string& plain : {all, all + "x", all.substr(0, 1), all.substr(255)}) {
      const std::string scrambled = ScrambleBlock(plain, key);
      ASSERT_EQ(scrambled.size(), 3 * plain.size());
      EXPECT_EQ(UnscrambleBlock(scrambled, key), plain);
    }
    for (int v = 0; v < 256; ++v) {
      const std::string one(1, static_cast<char>(v));
      EXPECT_EQ(UnscrambleBlock(ScrambleBlock(one, key), key), one) << v;
    }
  }
}

TEST(ScramblerTest, OnlyTheKeysLowByteCounts) {
  const std::string plain = EveryByteValue() + "[SYSTEM]\r\nFILEOK=OK\r\n";
  const std::string scrambled = ScrambleBlock(plain, 89);
  for (const std::uint16_t key : {89 + 256, 857, 89 + 256 * 255}) {
    EXPECT_EQ(ScrambleBlock(plain, key), scrambled) << key;
    EXPECT_EQ(UnscrambleBlock(scrambled, key), plain) << key;
  }
}

TEST(ScramblerTest, AnyWrongKeyIsRejected) {
  const std::string scrambled = ScrambleBlock("[SYSTEM]\r\nFILEOK=OK\r\n", kKey);
  for (int key = 0; key < 256; ++key) {
    if (key == kKey % 256) continue;
    EXPECT_FALSE(UnscrambleBlock(scrambled, static_cast<std::uint16_t>(key))) << key;
  }
}

TEST(ScramblerTest, EverySingleChangedByteIsDetected) {
  // "AB" with key 857 is 154 199 244 | 243 199 155. Raising the first byte to 155
  // keeps (155 + 244) / 2 = 199 in the middle: only the mirror check sees it.
  const std::string example = Bytes({154, 199, 244, 243, 199, 155});
  std::string middlePasses = example;
  middlePasses[0] = static_cast<char>(155);
  EXPECT_FALSE(UnscrambleBlock(middlePasses, kKey));

  const std::string marker = "[SYSTEM]\r\nFILEOK=OK\r\n";  // 21 bytes
  for (const std::string& plain :
       {std::string("AB"), marker, marker + "!", std::string("\xFF\x00\x80", 3)}) {
    const std::string scrambled = ScrambleBlock(plain, kKey);
    for (std::size_t at = 0; at < scrambled.size(); ++at) {
      for (int delta = 1; delta < 256; ++delta) {
        std::string damaged = scrambled;
        damaged[at] = static_cast<char>(static_cast<unsigned char>(damaged[at]) + delta);
        ASSERT_FALSE(UnscrambleBlock(damaged, kKey)) << plain << " byte " << at << " +" << delta;
      }
    }
  }
}

TEST(ScramblerTest, LostOrAddedBytesAreDetected) {
  const std::string scrambled = ScrambleBlock("[SYSTEM]\r\nFILEOK=OK\r\n", kKey);
  EXPECT_FALSE(UnscrambleBlock(scrambled.substr(1), kKey));
  EXPECT_FALSE(UnscrambleBlock(scrambled + "x", kKey));
  EXPECT_FALSE(UnscrambleBlock(scrambled.substr(3), kKey));  // a whole triplet lost
  EXPECT_FALSE(UnscrambleBlock(scrambled.substr(0, scrambled.size() - 3), kKey));
}

TEST(ScramblerTest, FilesRoundTripAndReplaceTheDestination) {
  TempDir dir;
  const std::string plain = EveryByteValue();
  WriteBytes(dir / "main.hif", plain);
  WriteBytes(dir / "main.hf", "an older scrambled file");

  ASSERT_TRUE(ScrambleFile(dir / "main.hif", dir / "main.hf", kKey));
  EXPECT_EQ(ReadBytes(dir / "main.hf"), ScrambleBlock(plain, kKey));

  WriteBytes(dir / "main.hif", "a stale twin");
  ASSERT_TRUE(UnscrambleFile(dir / "main.hf", dir / "main.hif", kKey));
  EXPECT_EQ(ReadBytes(dir / "main.hif"), plain);
}

TEST(ScramblerTest, RefusedSourcesLeaveTheDestinationUntouched) {
  TempDir dir;
  const std::string valid = ScrambleBlock("x", kKey);
  std::string damaged = ScrambleBlock("xyz", kKey);
  damaged[4] ^= 1;
  struct Case {
    const char* what;
    const char* source;  // nullptr: no source file
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"missing source", nullptr, ""}, {"0 bytes", "src", ""},
      {"4 bytes", "src", valid + "x"}, {"2 bytes", "src", valid.substr(0, 2)},
      {"damaged", "src", damaged},     {"wrong key", "src", ScrambleBlock("x", kKey + 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(dir / "src");
    if (c.source != nullptr) WriteBytes(dir / c.source, c.bytes);
    WriteBytes(dir / "dst", "keep me");
    EXPECT_FALSE(UnscrambleFile(dir / "src", dir / "dst", kKey));
    EXPECT_EQ(ReadBytes(dir / "dst"), "keep me");
  }
}

TEST(ScramblerTest, ScrambleFileWritesNothingForAMissingOrEmptySource) {
  TempDir dir;
  WriteBytes(dir / "dst", "keep me");
  EXPECT_FALSE(ScrambleFile(dir / "missing", dir / "dst", kKey));
  WriteBytes(dir / "empty", "");
  EXPECT_FALSE(ScrambleFile(dir / "empty", dir / "dst", kKey));
  EXPECT_EQ(ReadBytes(dir / "dst"), "keep me");
}

TEST(ScramblerTest, RefusedWritesReportFailure) {
  TempDir dir;
  WriteBytes(dir / "plain", "[SYSTEM]\r\nFILEOK=OK\r\n");
  WriteBytes(dir / "scrambled", ScrambleBlock("[SYSTEM]\r\nFILEOK=OK\r\n", kKey));
  WriteBytes(dir / "file", "a regular file, so nothing can be created below it");
  EXPECT_FALSE(ScrambleFile(dir / "plain", dir / "file" / "out", kKey));
  EXPECT_FALSE(UnscrambleFile(dir / "scrambled", dir / "file" / "out", kKey));
}

}  // namespace
}  // namespace pelorin
