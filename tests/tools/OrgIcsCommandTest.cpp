#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "storage/SettingsFile.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"
#include "tools/Pelorinctl.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::Ctl;
using testing::ProgramResult;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr char kOrg[] =
    "[SYSTEM]\r\nCount=2\r\nInterval=5000\r\n"
    "[0]\r\nTITLE=Dentist, room 4\r\nMEMO0=bring the card\r\nMEMO1=and; the form\r\n"
    "MEMOCount=2\r\nEveryDay=7\r\nHourX=09\r\nMinuteX=30\r\nTime=1\r\nDayX=15\r\nMonthX=03\r\n"
    "Date=1\r\nPeriodE=1\r\nPeriodDay=01\r\nPeriodMonth=06\r\n"
    "[1]\r\nTITLE=Done\r\nDayX=24\r\nMonthX=12\r\nDate=1\r\nEnabled=0\r\n";

std::string Events(int n) {
  std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
  for (int i = 0; i < n; ++i)
    text += "BEGIN:VEVENT\r\nDTSTART:20260102T0300" + std::to_string(10 + i) + "\r\nSUMMARY:E" +
            std::to_string(i) + "\r\nEND:VEVENT\r\n";
  return text + "END:VCALENDAR\r\n";
}

TEST(OrgIcsCommand, ExportedEntriesAreAppendedToAnotherOrganizer) {
  TempDir dir;
  WriteBytes(dir / "org.hif", kOrg);
  const auto exported = Ctl({"org", "export-ics", (dir / "org.hif").string()});
  ASSERT_EQ(exported.exitStatus, 0) << exported.err;
  EXPECT_NE(exported.out.find("SUMMARY:Dentist\\, room 4\r\n"), std::string::npos);
  EXPECT_NE(exported.out.find("DESCRIPTION:bring the card\\nand\\; the form\r\n"),
            std::string::npos);
  EXPECT_NE(exported.out.find("STATUS:CANCELLED\r\n"), std::string::npos);
  // A weekly event and one that is not ours: the weekly one is skipped.
  WriteBytes(dir / "cal.ics", exported.out.substr(0, exported.out.size() - 15) +
                                  "BEGIN:VEVENT\r\nDTSTART:20260105T080000\r\n"
                                  "RRULE:FREQ=WEEKLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");

  const fs::path other = dir / "other.hif";
  WriteBytes(other, "[SYSTEM]\r\nCount=1\r\n[0]\r\nTITLE=Mine\r\n");
  const auto imported = Ctl({"org", "import-ics", other.string(), (dir / "cal.ics").string()});
  ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  EXPECT_EQ(imported.out, "imported 2, skipped 1\n");

  const SettingsFile file(other);
  EXPECT_EQ(file.ReadInteger("SYSTEM", "Count", 0), 3);
  EXPECT_EQ(file.ReadString("0", "TITLE", ""), "Mine");
  const std::vector<std::pair<const char*, const char*>> dentist = {
      {"TITLE", "Dentist, room 4"},
      {"MEMO0", "bring the card"},
      {"MEMO1", "and; the form"},
      {"MEMOCount", "2"},
      {"EveryDay", "7"},
      {"HourX", "09"},
      {"MinuteX", "30"},
      {"Time", "1"},
      {"DayX", "15"},
      {"MonthX", "03"},
      {"Date", "1"},
      {"Enabled", "1"},
      {"PeriodE", "1"},
      {"PeriodDay", "01"},
      {"PeriodMonth", "06"},
  };
  for (const auto& [key, value] : dentist)
    EXPECT_EQ(file.ReadString("1", key, "?"), value) << key;
  EXPECT_EQ(file.ReadString("2", "TITLE", ""), "Done");
  EXPECT_EQ(file.ReadString("2", "Enabled", ""), "0");
  EXPECT_EQ(file.ReadString("2", "Time", ""), "0");
}

TEST(OrgIcsCommand, TheOrganizerTakesNoMoreThan8192Entries) {
  TempDir dir;
  const fs::path org = dir / "org.hif";
  WriteBytes(org, "[SYSTEM]\r\nCount=8190\r\n[8189]\r\nTITLE=last\r\n");
  WriteBytes(dir / "cal.ics", Events(3));
  const auto r = Ctl({"org", "import-ics", org.string(), (dir / "cal.ics").string()});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, "imported 2, skipped 1\n");
  const SettingsFile file(org);
  EXPECT_EQ(file.ReadInteger("SYSTEM", "Count", 0), 8192);
  EXPECT_EQ(file.ReadString("8191", "TITLE", ""), "E1");
  EXPECT_FALSE(file.SectionExists("8192"));

  const std::string full = ReadBytes(org);
  EXPECT_EQ(Ctl({"org", "import-ics", org.string(), (dir / "cal.ics").string()}).out,
            "imported 0, skipped 3\n");
  EXPECT_EQ(ReadBytes(org), full);
}

TEST(OrgIcsCommand, BadInputFailsWithAMessageAndWritesNothing) {
  TempDir dir;
  const fs::path org = dir / "org.hif";
  WriteBytes(org, kOrg);
  WriteBytes(dir / "notes.txt", "[SYSTEM]\r\nCount=1\r\n");
  WriteBytes(dir / "huge.ics", "BEGIN:VCALENDAR\r\n");
  fs::resize_file(dir / "huge.ics", 17 * 1024 * 1024);
  fs::create_directory(dir / "folder.ics");

  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const std::string o = org.string();
  const std::vector<Case> cases = {
      {{"org", "import-ics", o, (dir / "absent.ics").string()}, 1, "cannot read"},
      {{"org", "import-ics", o, (dir / "folder.ics").string()}, 1, "cannot read"},
      {{"org", "import-ics", o, (dir / "notes.txt").string()}, 1, "not an iCalendar file"},
      {{"org", "import-ics", o, (dir / "huge.ics").string()}, 1, "too large"},
      {{"org", "export-ics", (dir / "absent.hif").string()}, 1, "cannot read"},
      {{"org", "import-ics", o}, 2, "too few arguments"},
      {{"org", "export-ics", o, "extra"}, 2, "too many arguments"},
      {{"org", "sync", o}, 2, "unknown org action"},
  };
  for (const Case& c : cases) {
    const auto r = Ctl(c.args);
    EXPECT_EQ(r.exitStatus, c.status) << c.args.back();
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args.back() << ": " << r.err;
    EXPECT_TRUE(r.out.empty()) << c.args.back();
  }
  EXPECT_EQ(ReadBytes(org), kOrg);
  EXPECT_FALSE(fs::exists(dir / "absent.hif"));
}

}  // namespace
}  // namespace pelorin
