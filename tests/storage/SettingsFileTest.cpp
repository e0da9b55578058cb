#include "storage/SettingsFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/Text.h"
#include "storage/SettingsCache.h"
#include "storage/SettingsDocument.h"
#include "storage/SettingsTransaction.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// The bytes of a literal, NUL bytes included.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFile WithContent(std::string_view bytes) {
    WriteBytes(file_, bytes);
    return SettingsFile(file_);
  }

  TempDir dir_;
  std::filesystem::path file_ = dir_ / "test.hif";
};

struct ReadCase {
  const char* what;
  std::string bytes;
  const char* section;
  const char* key;
  const char* expected;  // nullptr: the default
};

TEST_F(SettingsFileTest, ReadsValuesByTheFormatsRules) {
  const std::vector<ReadCase> cases = {
      {"plain", "[S]\r\nKey=value\r\n", "S", "Key", "value"},
      {"names without regard to case", "[Run]\r\nEveryDay=1\r\n", "RUN", "everyday", "1"},
      {"blanks around names and value", "  [ S ]  \r\n  Key  =  a b  \r\n", "S", "Key", "a b"},
      {"blanks around the caller's names", "[S]\r\nKey=v\r\n", " S ", "\tKey ", "v"},
      {"double quotes removed", "[S]\r\nK=\" a \"\r\n", "S", "K", " a "},
      {"single quotes removed", "[S]\r\nK='x'\r\n", "S", "K", "x"},
      {"only one pair removed", "[S]\r\nK=\"\"x\"\"\r\n", "S", "K", "\"x\""},
      {"unmatched quotes kept", "[S]\r\nK=\"x'\r\n", "S", "K", "\"x'"},
      {"a lone quote kept", "[S]\r\nK=\"\r\n", "S", "K", "\""},
      {"empty value", "[S]\r\nK=\r\n", "S", "K", ""},
      {"value holding =", "[S]\r\nK=a=b\r\n", "S", "K", "a=b"},
      {"first key counts", "[S]\r\nK=1\r\nk=2\r\n", "S", "K", "1"},
      {"later duplicate section not merged", "[S]\r\nA=1\r\n[T]\r\n[s]\r\nB=2\r\n", "S", "B",
       nullptr},
      {"first duplicate section counts", "[S]\r\nA=1\r\n[s]\r\nA=2\r\n", "s", "A", "1"},
      {"lines before the first section ignored", "K=1\r\n[S]\r\n", "S", "K", nullptr},
      {"a key of another section", "[S]\r\n[T]\r\nK=1\r\n", "S", "K", nullptr},
      {"line without = ignored", "[S]\r\nK\r\nK=2\r\n", "S", "K", "2"},
      {"line with an empty key ignored", "[S]\r\n=1\r\n", "S", "", nullptr},
      {"LF alone ends lines", "[S]\nA=1\nB=2\n", "S", "B", "2"},
      {"missing final line end", "[S]\r\nK=last", "S", "K", "last"},
      {"stray CR before the end", "[S]\r\nK=v\r", "S", "K", "v"},
      {"section header with text after ]", "[S] ; note\r\nK=v\r\n", "S", "K", "v"},
      {"missing section", "[S]\r\nK=v\r\n", "T", "K", nullptr},
      {"empty file", "", "S", "K", nullptr},
      {"code page 1251 text", "[\xD0\xE0\xE7\xE4\xE5\xEB]\r\n\xCA\xEB\xFE\xF7=\xC4\xE0\r\n",
       "раздел", "КЛЮЧ", "Да"},
      {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF[Раздел]\r\nkey=josé\r\n", "РАЗДЕЛ", "KEY",
       "josé"},
      {"a byte-order mark alone", "\xEF\xBB\xBF", "S", "K", nullptr},
      {"damaged UTF-8 read as code page 1251", "\xEF\xBB\xBF[S]\r\nK=a\xE0\xC0z\r\n", "S", "K",
       "aаАz"},
      {"binary noise", Bytes("\x00\xFF[\x01]\n\x80=\x81\n[S]\r\nK=ok"), "S", "K", "ok"},
  };
  for (const ReadCase& c : cases) {
    const SettingsFile settings = WithContent(c.bytes);
    const std::string got = settings.ReadString(c.section, c.key, "<default>");
    EXPECT_EQ(got, c.expected ? c.expected : "<default>") << c.what;
    EXPECT_EQ(settings.ValueExists(c.section, c.key), c.expected != nullptr) << c.what;
  }
  // A NUL byte is an ordinary byte of a value.
  EXPECT_EQ(WithContent(Bytes("[S]\r\nK=a\0b\r\n")).ReadString("S", "K", ""), Bytes("a\0b"));
}

// Files edited by hand, read as the Windows profile functions read them.
TEST_F(SettingsFileTest, ReadsHandEditedFilesAsTheWindowsFunctionsDo) {
  const std::vector<ReadCase> cases = {
      {"CR alone ends lines", "[S]\rA=1\rB=2\r", "S", "B", "2"},
      {"CR alone before a section", "[S]\rA=1\r[T]\rA=2\r", "S", "A", "1"},
      {"CR alone opens the next section", "[S]\rA=1\r  [T]\rA=2", "T", "A", "2"},
      {"line ends mixed", "[S]\r\nA=1\rB=2\nC=3", "S", "C", "3"},
      {"a lone CR inside a line splits it", "[S]\r\nA=x\rB=y\r\n", "S", "A", "x"},
      {"header without ] opens nothing", "[S]\r\n[T\r\nK=v\r\n", "S", "K", "v"},
      {"header without ] is no section", "[S]\r\n[T\r\nK=v\r\n", "T", "K", nullptr},
      {"a [ line without ] may hold a key", "[S]\r\n[K=v\r\n", "S", "[K", "v"},
      {"extra brackets are part of the name", "[[S]]\r\nK=v\r\n", "[S]", "K", "v"},
      {"so the inner name is not found", "[[S]]\r\nK=v\r\n", "S", "K", nullptr},
      {"an extra [ is part of the name", "[[S]\r\nK=v\r\n", "[S", "K", "v"},
      {"a line without [ opens nothing", "[A]\r\nS]\r\nK=v\r\n", "A", "K", "v"},
      {"the last ] ends the name", "[S]]\r\nK=v\r\n", "S]", "K", "v"},
      {"text after the last ]", "[S] x ] ; note\r\nK=v\r\n", "S] x", "K", "v"},
      {"a line without = is no key", "[S]\r\nK\r\n", "S", "K", nullptr},
      {"nor does it hide a later key", "[S]\r\nK\r\nK=2\r\n", "S", "K", "2"},
      {"tabs, vertical tabs, form feeds, Ctrl+Z are blanks", "[S]\r\n\tK\v=\f v \x1A\r\n", "S", "K",
       "v"},
  };
  for (const ReadCase& c : cases) {
    const SettingsFile settings = WithContent(c.bytes);
    EXPECT_EQ(settings.ReadString(c.section, c.key, "<default>"),
              c.expected ? c.expected : "<default>")
        << c.what;
  }

  // The profile functions' own test file, with both kinds of line end.
  for (const std::string end : {"\r\n", "\r"}) {
    const SettingsFile settings =
        WithContent("[section1]" + end + "name1=val1" + end + "name2=\"val2\"" + end + "name3" +
                    end + "name4=a" + end + "[section2]" + end);
    EXPECT_EQ(settings.ReadSection("section1"),
              (std::vector<std::string>{"name1", "name2", "name4"}));
    EXPECT_EQ(settings.ReadSections(), (std::vector<std::string>{"section1", "section2"}));
    EXPECT_EQ(settings.ReadString("section1", "name2", "default"), "val2");
    EXPECT_EQ(settings.ReadString("section1", "name3", "default"), "default");
    EXPECT_EQ(settings.ReadString("section1", "name4", "default"), "a");
  }

  // A default loses its trailing spaces, and only those.
  const SettingsFile settings = WithContent("[S]\r\n");
  const std::vector<std::pair<const char*, const char*>> defaults = {
      {"default  ", "default"},
      {"one two  ", "one two"},
      {"one two", "one two"},
      {"  lead", "  lead"},
      {"tab\t", "tab\t"},
      {"   ", ""},
      {"", ""},
      {" \"q\" ", " \"q\""},
  };
  for (const auto& [given, read] : defaults) {
    EXPECT_EQ(settings.ReadString("S", "missing", given), read) << "[" << given << "]";
  }
}

// The parsed form of a file stays within a few times its size, whatever its shape: a
// header line costs at most a few bytes, a line that is no header none.
TEST(SettingsDocumentTest, IndexStaysSmallWhateverTheShapeOfTheFile) {
  constexpr std::size_t kLines = 200'000;
  const auto repeated = [](std::string_view line) {
    std::string bytes;
    for (std::size_t i = 0; i < kLines; ++i)
      bytes += line;
    return bytes;
  };
  std::string distinct;
  for (std::size_t i = 0; i < kLines; ++i)
    distinct += "[" + std::to_string(i) + "]\n";
  const std::vector<std::pair<const char*, std::string>> shapes = {
      {"lone brackets", repeated("[\n")},
      {"empty headers", repeated("[]\n")},
      {"one name again and again", repeated("[S]\r")},
      {"brackets inside lines", repeated("x[[]]\n")},
      {"distinct short headers", distinct},
      {"keys", "[S]\n" + repeated("k=v\n")},
  };
  for (const auto& [what, bytes] : shapes) {
    const SettingsDocument document(bytes);
    EXPECT_LE(document.IndexBytes(), 3 * bytes.size()) << what;
  }
  EXPECT_EQ(SettingsDocument(distinct).SectionNames().size(), kLines);
}

// Whether the write raises SettingsWriteError with the cause "file too large".
bool RefusedAsTooLarge(const std::function<void()>& write) {
  try {
    write();
  } catch (const SettingsWriteError& error) {
    return error.cause() == std::errc::file_too_large;
  }
  return false;
}

TEST_F(SettingsFileTest, FilesTooLargeToReadReadAsDefaultsAndRefuseWrites) {
  WriteBytes(file_, "[S]\r\nK=1\r\n");
  std::filesystem::resize_file(file_, SettingsDocument::kMaxSize + 1);  // sparse
  const std::uint64_t parsesBefore = SettingsCache::Instance().ParseCount();
  SettingsFile settings(file_);
  EXPECT_EQ(settings.ReadInteger("S", "K", 7), 7);
  EXPECT_FALSE(settings.SectionExists("S"));
  try {
    settings.WriteInteger("S", "K", 2);
    ADD_FAILURE() << "written";
  } catch (const SettingsWriteError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Unable to write to " + file_.string() + ": " + std::strerror(EFBIG));
  }
  EXPECT_TRUE(RefusedAsTooLarge([&] { settings.EraseSection("S"); }));
  {
    SettingsTransaction change(settings);
    EXPECT_TRUE(RefusedAsTooLarge([&] { settings.WriteInteger("S", "K", 2); }));
  }
  EXPECT_EQ(SettingsCache::Instance().ParseCount(), parsesBefore);
  EXPECT_EQ(std::filesystem::file_size(file_), SettingsDocument::kMaxSize + 1);

  // A write that would make a file too large is refused as well.
  SettingsFile small(dir_ / "small.hif");
  small.WriteString("S", "A", std::string(1000, 'a'));
  const std::string big(SettingsDocument::kMaxSize, 'b');
  EXPECT_TRUE(RefusedAsTooLarge([&] { small.WriteString("S", "B", big); }));
  EXPECT_EQ(small.ReadString("S", "A", "").size(), 1000u);
}

TEST_F(SettingsFileTest, ReadsIntegersAndBooleans) {
  struct Case {
    const char* text;
    int integer;  // with the default 7
    int boolean;  // 0 false, 1 true, -1 the default
  };
  const std::vector<Case> cases = {
      {"0x10", 16, 1},
      {"0X1f", 31, 1},
      {"0x", 7, -1},
      {"0xG", 7, -1},
      {"0x-1", 7, -1},
      {"0xFFFFFFFF", -1, 1},
      {"0x100000000", 7, -1},
      {"0", 0, 0},
      {"2", 2, 1},
      {"-15", -15, 1},
      {"+15", 15, 1},
      {"00", 0, 0},
      {"2147483647", 2147483647, 1},
      {"-2147483648", -2147483647 - 1, 1},
      {"2147483648", 7, -1},
      {"12abc", 7, -1},
      {"1.5", 7, -1},
      {"", 7, -1},
      {"yes", 7, -1},
      {"- 1", 7, -1},
      {"\"42\"", 42, 1},
      {"  8  ", 8, 1},
  };
  for (const Case& c : cases) {
    const SettingsFile settings = WithContent("[S]\r\nK=" + std::string(c.text) + "\r\n");
    EXPECT_EQ(settings.ReadInteger("S", "K", 7), c.integer) << c.text;
    for (const bool defaultValue : {false, true}) {
      const bool expected = c.boolean < 0 ? defaultValue : c.boolean == 1;
      EXPECT_EQ(settings.ReadBool("S", "K", defaultValue), expected) << c.text;
    }
  }
  const SettingsFile missing(dir_ / "missing.hif");
  EXPECT_EQ(missing.ReadInteger("S", "K", -3), -3);
  EXPECT_TRUE(missing.ReadBool("S", "K", true));
}

TEST_F(SettingsFileTest, CutsValuesTo2047Characters) {
  const std::string ascii(3000, 'a');
  EXPECT_EQ(WithContent("[S]\r\nK=" + ascii + "\r\n").ReadString("S", "K", ""),
            ascii.substr(0, 2047));
  // Quotes go before the cut.
  EXPECT_EQ(WithContent("[S]\r\nK=\"" + ascii + "\"\r\n").ReadString("S", "K", ""),
            ascii.substr(0, 2047));

  std::string ya1251(3000, '\xFF');
  std::string ya2047;
  for (int i = 0; i < 2047; ++i)
    ya2047 += "я";
  EXPECT_EQ(WithContent("[S]\r\nK=" + ya1251 + "\r\n").ReadString("S", "K", ""), ya2047);
  std::string yaUtf8;
  for (int i = 0; i < 3000; ++i)
    yaUtf8 += "я";
  EXPECT_EQ(WithContent("\xEF\xBB\xBF[S]\r\nK=" + yaUtf8 + "\r\n").ReadString("S", "K", ""),
            ya2047);
}

TEST_F(SettingsFileTest, ListsSectionsAndKeysOnceInFileOrder) {
  const SettingsFile settings = WithContent(
      "K=0\r\n[One]\r\nB=1\r\n; note\r\nA=2\r\nb=3\r\n[Two]\r\n[ONE]\r\nC=4\r\n[\xD2\xF0\xE8]\r\n");
  EXPECT_EQ(settings.ReadSections(), (std::vector<std::string>{"One", "Two", "Три"}));
  EXPECT_EQ(settings.ReadSection("one"), (std::vector<std::string>{"B", "A"}));
  EXPECT_TRUE(settings.ReadSection("Two").empty());
  EXPECT_TRUE(settings.ReadSection("Four").empty());
  EXPECT_TRUE(settings.SectionExists("TWO"));
  EXPECT_TRUE(settings.SectionExists("три"));
  EXPECT_FALSE(settings.SectionExists("Four"));
}

TEST_F(SettingsFileTest, CountsNumberedSectionsUpToTheFirstGap) {
  EXPECT_EQ(NumberedSectionCount(WithContent("[0]\r\n[1]\r\n[3]\r\n")), 2);
  EXPECT_EQ(NumberedSectionCount(WithContent("[1]\r\n[2]\r\n")), 0);
  EXPECT_EQ(NumberedSectionCount(WithContent("[2]\r\n[ 1 ]\r\n[0]\r\n")), 3);
  EXPECT_EQ(NumberedSectionCount(SettingsFile(dir_ / "missing.hif")), 0);
}

struct WriteCase {
  const char* what;
  std::string before;
  std::function<void(SettingsFile&)> change;
  std::string after;
};

TEST_F(SettingsFileTest, WritesChangeOnlyTheirLines) {
  const std::string untouched = "; comment\r\n  odd  line \n[S]\r\n";
  const std::vector<WriteCase> cases = {
      {"replace in place, caller's key name", untouched + "key = old \r\nB=2\n\r\n[T]\r\n",
       [](SettingsFile& f) { f.WriteString("s", "Key", "new"); },
       untouched + "Key=new\r\nB=2\n\r\n[T]\r\n"},
      {"replace keeps an LF-only line end", "[S]\nK=1\nL=2\n",
       [](SettingsFile& f) { f.WriteInteger("S", "L", 3); }, "[S]\nK=1\nL=3\n"},
      {"replace the last line without line end", "[S]\r\nK=1",
       [](SettingsFile& f) { f.WriteInteger("S", "K", -20); }, "[S]\r\nK=-20"},
      {"append after the section's last key", untouched + "A=1\r\n; tail\r\n\r\n[T]\r\nX=1\r\n",
       [](SettingsFile& f) { f.WriteBool("S", "B", true); },
       untouched + "A=1\r\nB=1\r\n; tail\r\n\r\n[T]\r\nX=1\r\n"},
      {"append into an empty section", "[S]\r\n\r\n[T]\r\n",
       [](SettingsFile& f) { f.WriteBool("S", "B", false); }, "[S]\r\nB=0\r\n\r\n[T]\r\n"},
      {"append after a header without line end", "[A]\r\n[S]",
       [](SettingsFile& f) { f.WriteString("S", "K", "v"); }, "[A]\r\n[S]\r\nK=v\r\n"},
      {"append after a last key without line end", "[S]\r\nA=1",
       [](SettingsFile& f) { f.WriteString("S", "K", "v"); }, "[S]\r\nA=1\r\nK=v\r\n"},
      {"new section at the end", "[A]\nX=1\n",
       [](SettingsFile& f) { f.WriteString(" New ", " K ", "v"); }, "[A]\nX=1\n[New]\r\nK=v\r\n"},
      {"new section ends the last line first", "X=1",
       [](SettingsFile& f) { f.WriteString("S", "K", "v"); }, "X=1\r\n[S]\r\nK=v\r\n"},
      {"new file", "", [](SettingsFile& f) { f.WriteString("S", "K", "v"); }, "[S]\r\nK=v\r\n"},
      {"write into the first of duplicate sections", "[S]\r\nA=1\r\n[S]\r\nB=1\r\n",
       [](SettingsFile& f) { f.WriteString("S", "B", "2"); },
       "[S]\r\nA=1\r\nB=2\r\n[S]\r\nB=1\r\n"},
      {"blanks at the ends are quoted", "[S]\r\n",
       [](SettingsFile& f) { f.WriteString("S", "K", " padded "); }, "[S]\r\nK=\" padded \"\r\n"},
      {"a quoted value is quoted again", "[S]\r\n",
       [](SettingsFile& f) { f.WriteString("S", "K", "'q'"); }, "[S]\r\nK=\"'q'\"\r\n"},
      {"delete a key", untouched + "A=1\r\nB=2\r\n", [](SettingsFile& f) { f.DeleteKey("S", "a"); },
       untouched + "B=2\r\n"},
      {"delete the last line without line end", "[S]\r\nA=1\r\nB=2",
       [](SettingsFile& f) { f.DeleteKey("S", "B"); }, "[S]\r\nA=1\r\n"},
      {"delete a missing key", "[S]\r\nA=1\r\n", [](SettingsFile& f) { f.DeleteKey("S", "B"); },
       "[S]\r\nA=1\r\n"},
      {"delete from a missing section", "[S]\r\nA=1\r\n",
       [](SettingsFile& f) { f.DeleteKey("T", "A"); }, "[S]\r\nA=1\r\n"},
      {"erase a section up to the next", untouched + "A=1\r\n; c\r\n[T]\r\nB=2\r\n",
       [](SettingsFile& f) { f.EraseSection("s"); }, "; comment\r\n  odd  line \n[T]\r\nB=2\r\n"},
      {"erase the last section", "[S]\r\nA=1\r\n[T]\r\nB=2",
       [](SettingsFile& f) { f.EraseSection("T"); }, "[S]\r\nA=1\r\n"},
      {"erase only the first of duplicates", "[S]\r\nA=1\r\n[s]\r\nB=2\r\n",
       [](SettingsFile& f) { f.EraseSection("S"); }, "[s]\r\nB=2\r\n"},
      {"erase a missing section", "[S]\r\n", [](SettingsFile& f) { f.EraseSection("T"); },
       "[S]\r\n"},
      {"replace in a file of CR line ends", "[S]\rA=1\rB=2\r[T]\r",
       [](SettingsFile& f) { f.WriteInteger("S", "A", 3); }, "[S]\rA=3\rB=2\r[T]\r"},
      {"append in a file of CR line ends", "[S]\rA=1\r[T]\r",
       [](SettingsFile& f) { f.WriteInteger("S", "B", 2); }, "[S]\rA=1\rB=2\r\n[T]\r"},
      {"new section after a CR line end", "[S]\rA=1\r",
       [](SettingsFile& f) { f.WriteInteger("T", "B", 2); }, "[S]\rA=1\r[T]\r\nB=2\r\n"},
      {"a [ line without ] stays in its section", "[S]\r\n[x\r\nA=1\r\n[T]\r\n",
       [](SettingsFile& f) { f.EraseSection("S"); }, "[T]\r\n"},
      {"untouched binary bytes stay", Bytes("\x00\xFF\x98\r\n[S]\r\nK=1\r\n"),
       [](SettingsFile& f) { f.WriteInteger("S", "K", 2); },
       Bytes("\x00\xFF\x98\r\n[S]\r\nK=2\r\n")},
  };
  for (const WriteCase& c : cases) {
    std::filesystem::remove(file_);
    if (!c.before.empty()) WriteBytes(file_, c.before);
    SettingsFile settings(file_);
    c.change(settings);
    EXPECT_EQ(ReadBytes(file_), c.after) << c.what;
  }
}

TEST_F(SettingsFileTest, WrittenValuesReadBackAsWritten) {
  SettingsFile settings(file_);
  const std::vector<std::string> values = {
      "",    " ",           " lead", "trail\t", "\"quoted\"",      "'", "''", "a=b",
      "[x]", "Привет, мир", "josé",  "日本 😀",  Bytes("nul\0byte")};
  for (std::size_t i = 0; i < values.size(); ++i) {
    settings.WriteString("Values", "K" + std::to_string(i), values[i]);
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(settings.ReadString("values", "k" + std::to_string(i), "<default>"), values[i]) << i;
  }
  EXPECT_EQ(settings.ReadSection("Values").size(), values.size());
}

TEST_F(SettingsFileTest, StoresCodePage1251UnlessTheTextDoesNotFit) {
  SettingsFile settings(file_);
  settings.WriteString("Раздел", "Ключ", "Да");
  EXPECT_EQ(ReadBytes(file_), "[\xD0\xE0\xE7\xE4\xE5\xEB]\r\n\xCA\xEB\xFE\xF7=\xC4\xE0\r\n");

  // A character outside the code page turns the whole file into UTF-8 with a BOM.
  settings.WriteString("Раздел", "Path", "/home/josé");
  EXPECT_EQ(ReadBytes(file_), "\xEF\xBB\xBF[Раздел]\r\nКлюч=Да\r\nPath=/home/josé\r\n");
  EXPECT_EQ(settings.ReadString("РАЗДЕЛ", "ключ", ""), "Да");
  settings.WriteString("раздел", "Ещё", "ok");
  EXPECT_EQ(ReadBytes(file_), "\xEF\xBB\xBF[Раздел]\r\nКлюч=Да\r\nPath=/home/josé\r\nЕщё=ok\r\n");

  // Once the text fits again, the file goes back to the code page.
  settings.WriteString("Раздел", "Path", "/home/jose");
  EXPECT_EQ(ReadBytes(file_),
            "[\xD0\xE0\xE7\xE4\xE5\xEB]\r\n\xCA\xEB\xFE\xF7=\xC4\xE0\r\nPath=/home/jose\r\n"
            "\xC5\xF9\xB8=ok\r\n");

  // Damaged UTF-8 is kept byte for byte while the file stays UTF-8.
  WriteBytes(file_, "\xEF\xBB\xBF[S]\r\nBad=\xFF\xFE\r\n");
  settings.WriteString("S", "K", "é");
  EXPECT_EQ(ReadBytes(file_), "\xEF\xBB\xBF[S]\r\nBad=\xFF\xFE\r\nK=é\r\n");
}

TEST_F(SettingsFileTest, RefusesNamesAndValuesAFileCannotHold) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const std::vector<Case> cases = {
      {"", "K", "v"},     {"  ", "K", "v"},   {"a]b", "K", "v"},  {"a\nb", "K", "v"},
      {"S", "", "v"},     {"S", " ", "v"},    {"S", "a=b", "v"},  {"S", "[K", "v"},
      {"S", " [K", "v"},  {"S", "a\rb", "v"}, {"S", "K", "a\nb"}, {"S", "K", "a\r"},
      {"S", "K", "\xC3"}, {"\xFF", "K", "v"},
  };
  const std::string before = "[S]\r\nK=old\r\n";
  WriteBytes(file_, before);
  SettingsFile settings(file_);
  for (const Case& c : cases) {
    EXPECT_THROW(settings.WriteString(c.section, c.key, c.value), SettingsNameError)
        << c.section << "/" << c.key << "/" << c.value;
  }
  EXPECT_THROW(settings.DeleteKey("S", "a=b"), SettingsNameError);
  EXPECT_THROW(settings.EraseSection(""), SettingsNameError);
  EXPECT_EQ(ReadBytes(file_), before);
  SettingsFile missing(dir_ / "missing.hif");
  EXPECT_THROW(missing.WriteString("S", "", "v"), SettingsNameError);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.hif"));
}

TEST_F(SettingsFileTest, DeletingFromAMissingFileCreatesNothing) {
  SettingsFile settings(file_);
  settings.DeleteKey("S", "K");
  settings.EraseSection("S");
  EXPECT_FALSE(std::filesystem::exists(file_));
  EXPECT_EQ(settings.ReadString("S", "K", "d"), "d");
  EXPECT_TRUE(settings.ReadSections().empty());
}

TEST_F(SettingsFileTest, FailedWritesRaiseAndKeepTheOldFile) {
  WriteBytes(dir_ / "plain", "x");
  const std::filesystem::path underFile = dir_ / "plain" / "test.hif";
  const std::filesystem::path noParent = dir_ / "none" / "test.hif";
  const std::pair<std::filesystem::path, std::string> refusals[] = {
      {underFile, "Not a directory"}, {noParent, "No such file or directory"}};
  for (const auto& [path, reason] : refusals) {
    SettingsFile settings(path);
    EXPECT_EQ(settings.ReadString("S", "K", "d"), "d");
    try {
      settings.WriteString("S", "K", "v");
      ADD_FAILURE() << path << " was written";
    } catch (const SettingsWriteError& error) {
      EXPECT_EQ(std::string(error.what()), "Unable to write to " + path.string() + ": " + reason);
      EXPECT_EQ(error.file(), path);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "none"));
  EXPECT_EQ(ReadBytes(dir_ / "plain"), "x");

  // A directory in place of the file reads as defaults and refuses writes.
  std::filesystem::create_directories(file_ / "inner");
  SettingsFile directory(file_);
  EXPECT_EQ(directory.ReadInteger("S", "K", 5), 5);
  EXPECT_THROW(directory.WriteInteger("S", "K", 1), SettingsWriteError);
  EXPECT_THROW(directory.EraseSection("S"), SettingsWriteError);
  EXPECT_TRUE(std::filesystem::is_directory(file_ / "inner"));
  std::vector<std::filesystem::path> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    left.push_back(entry.path().filename());
  }
  EXPECT_EQ(left.size(), 2u) << "a temporary file was left behind";
}

TEST_F(SettingsFileTest, RelativeNamesAreReportedInFull) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  WriteBytes(dir_ / "plain", "x");
  SettingsFile settings("plain/test.hif");
  try {
    settings.WriteString("S", "K", "v");
    ADD_FAILURE() << "written";
  } catch (const SettingsWriteError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Unable to write to " + (dir_ / "plain/test.hif").string() + ": Not a directory");
  }
  SettingsFile relative("rel.hif");
  relative.WriteString("S", "K", "v");
  EXPECT_EQ(ReadBytes(dir_ / "rel.hif"), "[S]\r\nK=v\r\n");
  std::filesystem::current_path(previous);
}

TEST_F(SettingsFileTest, WritesThroughASymbolicLinkToItsTarget) {
  WriteBytes(dir_ / "real.hif", "[S]\r\nK=1\r\n");
  std::filesystem::create_symlink("real.hif", file_);
  SettingsFile settings(file_);
  settings.WriteInteger("S", "K", 2);
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  EXPECT_EQ(ReadBytes(dir_ / "real.hif"), "[S]\r\nK=2\r\n");
  EXPECT_EQ(SettingsFile(dir_ / "real.hif").ReadInteger("S", "K", 0), 2);
}

TEST_F(SettingsFileTest, LongLinesAndDamagedFilesDoNotHurt) {
  std::string huge = "[S]\r\nBig=" + std::string(8 << 20, 'x') + "\r\nK=1";
  SettingsFile settings = WithContent(huge);
  EXPECT_EQ(settings.ReadString("S", "Big", "").size(), 2047u);
  EXPECT_EQ(settings.ReadInteger("S", "K", 0), 1);
  settings.WriteInteger("S", "K", 2);
  EXPECT_EQ(ReadBytes(file_), huge.substr(0, huge.size() - 1) + "2");

  // Every prefix of a file (a truncated copy) reads without harm.
  const std::string full = "\xEF\xBB\xBF[Раздел]\r\nКлюч = \"Значение\"\r\n[0]\r\nK=1\r\n";
  for (std::size_t length = 0; length <= full.size(); ++length) {
    const SettingsFile truncated = WithContent(full.substr(0, length));
    const std::string value = truncated.ReadString("Раздел", "Ключ", "");
    EXPECT_LE(truncated.ReadSections().size(), 2u);
    EXPECT_LE(NumberedSectionCount(truncated), 1);
    if (length == full.size()) {
      EXPECT_EQ(value, "Значение");
    }
  }
}

TEST_F(SettingsFileTest, RandomFilesKeepEveryOtherValueAcrossEdits) {
  // Header and key lines, with pieces that may break them between.
  const std::vector<std::string> lines = {"[S]\r\n", "[s]\n",   " [0] \r\n",   "[\xE0]\r\n",
                                          "k=v\r\n", "B = x\n", "a=\"q\"\r\n", "\xC0=\xFF\r\n",
                                          "K=2",     "; c\r\n", "\r\n",        "[T]"};
  const std::vector<std::string> noise = {
      "[", "]", "=", "\n", "\r", " ", "\"", "k", "\xE0", "\xEF\xBB\xBF", std::string(1, '\0')};
  const std::vector<std::string> sections = {"S", "s", "0", "а", "T", "new"};
  const std::vector<std::string> keys = {"k", "K", "B", "a", "А", "new"};
  const std::vector<std::string> values = {"", "v", " x ", "\"q\"", "a=b", "Привет", "é"};
  std::mt19937 random(20240611);
  const auto pick = [&random](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  const auto same = [](const std::string& a, const std::string& b) {
    return UpCaseText(a) == UpCaseText(b);
  };

  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const int count = std::uniform_int_distribution<int>(0, 16)(random);
    for (int i = 0; i < count; ++i) {
      bytes += pick(std::uniform_int_distribution<int>(0, 3)(random) == 0 ? noise : lines);
    }
    SettingsFile settings = WithContent(bytes);

    std::map<std::pair<std::string, std::string>, std::string> before;
    for (const std::string& section : settings.ReadSections()) {
      for (const std::string& key : settings.ReadSection(section)) {
        before[{section, key}] = settings.ReadString(section, key, "<default>");
      }
    }
    const std::string section = pick(sections);
    const std::string key = pick(keys);
    const std::string value = pick(values);
    const int operation = std::uniform_int_distribution<int>(0, 2)(random);
    const auto context = ::testing::Message() << "round " << round << " operation " << operation
                                              << " [" << section << "] " << key;
    if (operation == 0) {
      settings.WriteString(section, key, value);
      EXPECT_EQ(settings.ReadString(section, key, "<default>"), value) << context;
    } else if (operation == 1) {
      settings.DeleteKey(section, key);
    } else {
      settings.EraseSection(section);
    }
    for (const auto& [name, old] : before) {
      const bool touched = same(name.first, section) && (operation == 2 || same(name.second, key));
      if (touched) continue;
      EXPECT_EQ(settings.ReadString(name.first, name.second, "<default>"), old)
          << context << " changed [" << name.first << "] " << name.second;
    }
  }
}

}  // namespace
}  // namespace pelorin
