#include "common/Text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace pelorin {
namespace {

TEST(GetField, SplitsAtEverySeparator) {
  struct Case {
    const char* text;
    int n;
    const char* field;
  };
  const Case cases[] = {
      {"a,,b", 1, "a"}, {"a,,b", 2, ""},   {"a,,b", 3, "b"}, {"a,,b", 4, ""},
      {"a,", 1, "a"},   {"a,", 2, ""},     {"", 1, ""},      {"", 2, ""},
      {",x", 2, "x"},   {"abc", 1, "abc"}, {"a,b", 0, ""},   {"a,b", -1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetField(c.text, ',', c.n), c.field) << '"' << c.text << "\" field " << c.n;
  }
  EXPECT_EQ(GetField("Пётр;Иванов", ';', 2), "Иванов");
}

TEST(GetField, KeepsAtMost1024Fields) {
  std::string text;
  for (int i = 1; i <= 1030; ++i)
    text += std::to_string(i) + (i < 1030 ? "," : "");
  EXPECT_EQ(GetField(text, ',', 1), "1");
  EXPECT_EQ(GetField(text, ',', 1024), "1024");
  EXPECT_EQ(GetField(text, ',', 1025), "");
  EXPECT_EQ(GetField(text, ',', 1030), "");
}

TEST(CharOperations, CountRemoveAndDigits) {
  EXPECT_EQ(CountChar("a.b.c.", '.'), 3);
  EXPECT_EQ(CountChar("", '.'), 0);
  EXPECT_EQ(RemoveChar("1.2.3", '.'), "123");
  EXPECT_EQ(RemoveChar("...", '.'), "");
  EXPECT_EQ(RemoveChar("при вет", ' '), "привет");

  EXPECT_TRUE(IsDigits("0123456789"));
  for (const char* notDigits : {"", " 1", "1a", "-1", "1.5", "١"}) {
    EXPECT_FALSE(IsDigits(notDigits)) << notDigits;
  }
}

TEST(PadNumber, PadsOnTheLeftAndNeverCuts) {
  EXPECT_EQ(PadNumber(5, 2, '0'), "05");
  EXPECT_EQ(PadNumber(0, 2, '0'), "00");
  EXPECT_EQ(PadNumber(123, 2, '0'), "123");
  EXPECT_EQ(PadNumber(7, 4, ' '), "   7");
  EXPECT_EQ(PadNumber(7, 0, '0'), "7");
  EXPECT_EQ(PadNumber(-5, 3, '0'), "-05");
  EXPECT_EQ(PadNumber(-5, 3, ' '), " -5");
}

TEST(FindText, FindsFromAByteOffset) {
  EXPECT_EQ(FindText("abcabc", 0, "bc", true), 1);
  EXPECT_EQ(FindText("abcabc", 2, "bc", true), 4);
  EXPECT_EQ(FindText("abcabc", 5, "bc", true), -1);
  EXPECT_EQ(FindText("abcabc", 0, "BC", true), -1);
  EXPECT_EQ(FindText("abcabc", 0, "BC", false), 1);
  // Offsets count bytes of the UTF-8 text; Cyrillic letters are two bytes each.
  EXPECT_EQ(FindText("Дом и дым", 0, "ДЫМ", false), 10);
  EXPECT_EQ(FindText("ёж", 0, "Ё", false), -1);  // ё is not raised

  EXPECT_EQ(FindText("", 0, "a", true), -1);
  EXPECT_EQ(FindText("abc", 0, "", true), -1);
  EXPECT_EQ(FindText("abc", -1, "a", true), -1);
  EXPECT_EQ(FindText("ab", 0, "abc", true), -1);
  EXPECT_EQ(FindText("abc", 100, "a", false), -1);
}

TEST(FindTextInRange, ReturnsPositionAndTheMatchInItsOwnCase) {
  struct Case {
    const char* text;
    const char* pattern;
    int from;
    int to;
    bool exactCase;
    int position;
    const char* matched;
  };
  const Case cases[] = {
      {"Hello World", "world", 1, -1, false, 7, "World"},
      {"Hello World", "world", 1, -1, true, -1, ""},
      {"abab", "ab", 2, -1, true, 3, "ab"},
      {"abab", "ab", 2, 2, true, -1, ""},
      {"abab", "ab", 1, 1, true, 1, "ab"},
      {"abab", "ab", 0, 100, true, 1, "ab"},   // from below 1 counts as 1, to is cut
      {"xxab", "ab", 100, -1, true, 3, "ab"},  // from is cut to the last fitting position
      {"abab", "ab", 3, 2, true, -1, ""},
      {"Мир и мИР", "мир", 2, -1, false, 11, "мИР"},
      {"abc", "", 1, -1, true, -1, ""},
      {"ab", "abc", 1, -1, true, -1, ""},
  };
  for (const Case& c : cases) {
    std::string matched = "stale";
    EXPECT_EQ(FindTextInRange(c.text, c.pattern, c.from, c.to, c.exactCase, matched), c.position)
        << c.text << " / " << c.pattern << " from " << c.from << " to " << c.to;
    EXPECT_EQ(matched, c.matched) << c.text << " / " << c.pattern;
  }
}

TEST(Buffers, CopyBytesWithinTheBuffer) {
  const char raw[] = {'a', '\0', 'b', 'c'};
  EXPECT_EQ(BufferToText(raw, 3), std::string("a\0b", 3));
  EXPECT_EQ(BufferToText(raw, 10), std::string(raw, 4));  // cut to the buffer
  EXPECT_EQ(CStrToText(raw), "a");
  const char unterminated[] = {'x', 'y'};
  EXPECT_EQ(CStrToText(unterminated), "xy");

  std::array<char, 4> buffer{'.', '.', '.', '.'};
  EXPECT_EQ(TextToBuffer("ab", buffer), 2u);
  EXPECT_EQ(std::string(buffer.data(), 4), "ab..");  // no terminator written
  EXPECT_EQ(TextToBuffer("abcdef", buffer), 4u);
  EXPECT_EQ(std::string(buffer.data(), 4), "abcd");
}

}  // namespace
}  // namespace pelorin
