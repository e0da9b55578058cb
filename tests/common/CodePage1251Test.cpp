#include "common/CodePage1251.h"

#include <gtest/gtest.h>

#include <string>

#include "common/Text.h"

namespace pelorin {
namespace {

TEST(CodePage1251, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  const std::string utf8 = Cp1251ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  const auto back = Utf8ToCp1251(utf8);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
}

TEST(CodePage1251, KnownCharacters) {
  EXPECT_EQ(Cp1251ToUtf8("\xC0\xFF\xA8\xB8\xB9\x88"), "АяЁё№€");
  EXPECT_EQ(Utf8ToCp1251("Привет"), std::string("\xCF\xF0\xE8\xE2\xE5\xF2"));
}

TEST(CodePage1251, TextOutsideTheCodePageIsRefused) {
  for (const char* text : {"josé", "Straße", "日本", "😀", "\xC3\x28" /* malformed */}) {
    EXPECT_FALSE(Utf8ToCp1251(text).has_value()) << text;
    EXPECT_FALSE(FitsCp1251(text)) << text;
  }
  EXPECT_TRUE(FitsCp1251("Обычный text, № 5 — ok"));
}

TEST(UpCaseText, RaisesAsciiAndCyrillicOnly) {
  EXPECT_EQ(UpCaseText("abc xyz 123"), "ABC XYZ 123");
  EXPECT_EQ(UpCaseText("абвгдежзийклмнопрстуфхцчшщъыьэюя"), "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  EXPECT_EQ(UpCaseText("ёЁ é"), "ёЁ é");  // ё and letters outside the code page stay
  // In the code page's own bytes: 0xE0 -> 0xC0, 0xFF -> 0xDF, 0xB8 (ё) unchanged.
  EXPECT_EQ(*Utf8ToCp1251(UpCaseText(Cp1251ToUtf8("\xE0\xFF\xB8"))), "\xC0\xDF\xB8");
}

}  // namespace
}  // namespace pelorin
