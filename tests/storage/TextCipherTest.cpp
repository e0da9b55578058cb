#include "storage/TextCipher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string EveryByteValue() {
  std::string s;
  for (int v = 0; v < 256; ++v)
    s.push_back(static_cast<char>(v));
  return s;
}

TEST(TextCipherTest, KeySumIsReducedAfterEveryStep) {
  struct Case {
    const char* what;
    std::string passphrase;
    int sum;
  };
  const std::vector<Case> cases = {
      {"empty", "", 0},
      {"one letter", "A", 65},
      {"two letters", "AB", 131},
      // "я" is byte 255 in code page 1251: 255 + 255 = 510, less 255 once.
      {"two bytes 255", "яя", 255},
      {"three bytes 255", "яяя", 255},
      {"255 then 1", "я\x01", 1},
      // "é" has no code page 1251 byte: its UTF-8 bytes 195, 169 count.
      {"outside code page 1251", "é", 109},
      {"invalid UTF-8 counts as bytes", "\xFF\xFF", 255},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeySum(c.passphrase), c.sum) << c.what;
  }
}

TEST(TextCipherTest, EncodingWrapsModulo255) {
  // KeySum("A") = 65.
  struct Case {
    int plain;
    int encoded;
  };
  for (const Case c : std::vector<Case>{{0, 65}, {1, 66}, {190, 255}, {191, 1}, {255, 65}}) {
    const std::string in(1, static_cast<char>(c.plain));
    EXPECT_EQ(EncodeTextBlock(in, "A"), std::string(1, static_cast<char>(c.encoded))) << c.plain;
  }
  for (const Case c : std::vector<Case>{{255, 65}, {1, 66}, {190, 255}, {191, 1}}) {
    const std::string in(1, static_cast<char>(c.encoded));
    EXPECT_EQ(DecodeTextBlock(in, "A"), std::string(1, static_cast<char>(c.plain))) << c.encoded;
  }
}

TEST(TextCipherTest, EveryByteButZeroComesBack) {
  std::string expected = EveryByteValue();
  expected[0] = static_cast<char>(255);
  for (const char* passphrase : {"", "A", "яя", "secret key", "é"}) {
    SCOPED_TRACE(passphrase);
    const std::string encoded = EncodeTextBlock(EveryByteValue(), passphrase);
    ASSERT_EQ(encoded.size(), 256U);
    EXPECT_EQ(DecodeTextBlock(encoded, passphrase), expected);
  }
}

TEST(TextCipherTest, EmptyKeyLeavesAFileAndDecodingRaisesZeroBytes) {
  TempDir dir;
  const std::string page = std::string("{\\rtf1 x}\0\0y", 12);
  WriteBytes(dir / "DB070405.hf", page);

  ASSERT_TRUE(EncodeTextFile(dir / "DB070405.hf", dir / "encoded", ""));
  EXPECT_EQ(ReadBytes(dir / "encoded"), page);

  ASSERT_TRUE(DecodeTextFile(dir / "encoded", dir / "decoded", ""));
  EXPECT_EQ(ReadBytes(dir / "decoded"), std::string("{\\rtf1 x}\xFF\xFFy"));
}

TEST(TextCipherTest, FilesRoundTripAndAMissingSourceWritesNothing) {
  TempDir dir;
  WriteBytes(dir / "page", "Day book page");
  ASSERT_TRUE(EncodeTextFile(dir / "page", dir / "page.hf", "key"));
  EXPECT_NE(ReadBytes(dir / "page.hf"), "Day book page");
  ASSERT_TRUE(DecodeTextFile(dir / "page.hf", dir / "page.hf", "key"));
  EXPECT_EQ(ReadBytes(dir / "page.hf"), "Day book page");

  WriteBytes(dir / "dst", "keep me");
  EXPECT_FALSE(EncodeTextFile(dir / "missing", dir / "dst", "key"));
  EXPECT_FALSE(DecodeTextFile(dir / "missing", dir / "dst", "key"));
  EXPECT_EQ(ReadBytes(dir / "dst"), "keep me");
}

}  // namespace
}  // namespace pelorin
