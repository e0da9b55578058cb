// `pelorinctl org`: the organizer's entries to and from iCalendar files.

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "CtlCommands.h"
#include "organizer/OrgCalendar.h"
#include "organizer/OrgEntry.h"
#include "organizer/OrgFile.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsTransaction.h"
#include "storage/SettingsView.h"

namespace pelorin::ctl {
namespace {

namespace fs = std::filesystem;

int Failure(const std::string& what) {
  std::cerr << "pelorinctl: " << what << "\n";
  return kFailed;
}

bool IsReadableFile(const std::string& file) {
  std::error_code error;
  return fs::is_regular_file(file, error) && !ExistsButUnreadable(file);
}

ports::LocalTime Now(std::string& stampUtc) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
  stampUtc = stamp;
  ports::LocalTime time;
  time.year = local.tm_year + 1900;
  time.month = local.tm_mon + 1;
  time.day = local.tm_mday;
  time.hour = local.tm_hour;
  time.minute = local.tm_min;
  time.second = local.tm_sec;
  return time;
}

int ExportIcs(const std::string& orgFile) {
  if (!IsReadableFile(orgFile)) return Failure("cannot read " + orgFile);
  const SettingsView view = SettingsFile(orgFile).View();
  const int count = org_file::WorkedEntryCount(org_file::StoredEntryCount(view));
  std::vector<OrgEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    entries.push_back(OrgEntry::Read(view, i));
  std::string stamp;
  const ports::LocalTime now = Now(stamp);
  const std::string text = ExportCalendar(entries, now, stamp);
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
  std::cout.flush();
  if (!std::cout) return Failure("cannot write the calendar to standard output");
  return kOk;
}

int ImportIcs(const std::string& orgFile, const std::string& icsFile) {
  if (!IsReadableFile(icsFile)) return Failure("cannot read " + icsFile);
  std::error_code error;
  const auto size = fs::file_size(icsFile, error);
  if (error) return Failure("cannot read " + icsFile);
  if (size > kMaxCalendarBytes) {
    return Failure(icsFile + " is too large for a calendar (" + std::to_string(size) +
                   " bytes, at most " + std::to_string(kMaxCalendarBytes) + ")");
  }
  std::ifstream in(icsFile, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return Failure("cannot read " + icsFile);
  CalendarImport calendar;
  try {
    calendar = ImportCalendar(text);
  } catch (const CalendarFormatError& e) {
    return Failure(icsFile + ": " + e.what() + "; nothing imported");
  }
  if (ExistsButUnreadable(orgFile)) return Failure("cannot read " + orgFile);
  if (const auto refusal = BackupRefusal(orgFile)) return Failure(*refusal);

  const SettingsFile settings(orgFile);
  const int count = org_file::StoredEntryCount(settings.View());
  // The organizer keeps no more than kMaxEntries; events beyond them are skipped.
  const int room = std::max(org_file::kMaxEntries - count, 0);
  const int taken = std::min(static_cast<int>(calendar.entries.size()), room);
  const int skipped = calendar.skipped + static_cast<int>(calendar.entries.size()) - taken;
  if (taken > 0) {
    const int status = RunChange([&] {
      SettingsFile file(orgFile);
      SettingsTransaction transaction(file);
      for (int i = 0; i < taken; ++i)
        calendar.entries[static_cast<std::size_t>(i)].Write(file, count + i, true);
      file.WriteInteger(org_file::kSystem, "Count", count + taken);
      transaction.Commit();
      return kOk;
    });
    if (status != kOk) return status;
    if (const int backup = RefreshBackupAfterChange(orgFile); backup != kOk) return backup;
  }
  std::cout << "imported " << taken << ", skipped " << skipped << "\n";
  return kOk;
}

}  // namespace

int RunOrg(const Args& args) {
  if (args.empty()) return UsageError("org needs an action and a file", "org");
  const std::string& verb = args[0];
  if (!KnownAction("org", verb)) return UsageError("unknown org action \"" + verb + "\"", "org");
  const std::size_t operands = args.size() - 1;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i].empty()) return UsageError("org " + verb + ": a file name is empty", "org", verb);
  }
  if (verb == "export-ics" && operands == 1) return ExportIcs(args[1]);
  if (verb == "import-ics" && operands == 2) return ImportIcs(args[1], args[2]);
  return CountError("org", verb, operands);
}

}  // namespace pelorin::ctl
