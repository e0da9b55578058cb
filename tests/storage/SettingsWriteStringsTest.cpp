#include <gtest/gtest.h>

#include "storage/SettingsFile.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

using testing::TempDir;

// Many keys written in one change leave the file exactly as key-by-key writes would.
TEST(SettingsWriteStrings, GivesTheBytesOfKeyByKeyWrites) {
  const std::vector<std::pair<std::string, std::string>> values = {
      {"TITLE", "Call"}, {"Hour", " 07 "}, {"New", "x"}, {"title", "Again"}};
  struct Case {
    const char* name;
    std::string before;
    const char* section;
  };
  const Case cases[] = {
      {"a new section", "[A]\r\nk=1\r\n", "B"},
      {"a new section after a last line without its end", "[A]\r\nk=1", "B"},
      {"an empty file", "", "A"},
      {"an existing section between others", "[A]\r\nk=1\r\n[B]\r\nHour=3\r\n; note\r\n[C]\r\n",
       "b"},
      {"the last section without a final line end", "[A]\r\nk=1\r\n[B]\r\nHour=3", "B"},
      {"a repeated section name", "[B]\r\nTITLE=1\r\n[A]\r\n[B]\r\nNew=2\r\n", "B"},
      {"a value that needs UTF-8", "[A]\r\nk=\xE0\r\n", "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::vector<std::pair<std::string, std::string>> written = values;
    if (std::string(c.name).find("UTF-8") != std::string::npos) written.push_back({"E", "é"});
    SettingsFile one(dir / "one.hif");
    SettingsFile many(dir / "many.hif");
    testing::WriteBytes(one.FileName(), c.before);
    testing::WriteBytes(many.FileName(), c.before);
    for (const auto& [key, value] : written)
      one.WriteString(c.section, key, value);
    many.WriteStrings(c.section, written);
    EXPECT_EQ(testing::ReadBytes(many.FileName()), testing::ReadBytes(one.FileName()));
  }
}

TEST(SettingsWriteStrings, RefusesABadNameWithoutChangingTheFile) {
  TempDir dir;
  SettingsFile file(dir / "f.hif");
  testing::WriteBytes(file.FileName(), "[A]\r\nk=1\r\n");
  EXPECT_THROW(file.WriteStrings("A", {{"good", "1"}, {"bad=key", "2"}}), SettingsNameError);
  EXPECT_EQ(testing::ReadBytes(file.FileName()), "[A]\r\nk=1\r\n");
}

}  // namespace
}  // namespace pelorin
