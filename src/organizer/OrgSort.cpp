#include "organizer/OrgSort.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/Text.h"
#include "organizer/OrgEntry.h"
#include "organizer/OrgFile.h"
#include "storage/SettingsEncoding.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsSyntax.h"

namespace pelorin::org_sort {
namespace {

using org_file::kSystem;

// The text of a settings file being built, key by key, in UTF-8.
class FileText {
 public:
  void Section(const std::string& name) { text_ += "[" + name + "]\r\n"; }
  void Key(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += '=';
    text_ += QuoteSettingsValue(value);
    text_ += kSettingsLineEnd;
  }
  void Integer(std::string_view key, int value) { Key(key, std::to_string(value)); }
  void Bool(std::string_view key, bool value) { Key(key, value ? "1" : "0"); }
  void Reserve(std::size_t bytes) { text_.reserve(bytes); }

  // In code page 1251 when every character fits it, else UTF-8 with the byte-order mark.
  std::string Bytes() const {
    if (std::optional<std::string> cp = EncodeSettingsText(text_, SettingsEncoding::kCp1251))
      return *std::move(cp);
    return std::string(kUtf8ByteOrderMark) + text_;
  }

 private:
  std::string text_;
};

void CopySystem(const SettingsView& file, int count, FileText& out) {
  out.Section(kSystem);
  out.Integer("Count", count);
  out.Integer("Interval", file.ReadInteger(kSystem, "Interval", 5000));
  out.Bool("DefaultMonth", file.ReadBool(kSystem, "DefaultMonth", false));
  out.Bool("Signal", file.ReadBool(kSystem, "Signal", true));
  out.Bool("WelcomeScreen", file.ReadBool(kSystem, "WelcomeScreen", false));
  out.Key("WelcomeTime", file.ReadString(kSystem, "WelcomeTime", "07:00"));
  out.Key("WelcomeDate", file.ReadString(kSystem, "WelcomeDate", "01.01.00"));
  out.Bool("WelcomeEmpty", file.ReadBool(kSystem, "WelcomeEmpty", false));
  out.Bool("ShowTodayOnly", file.ReadBool(kSystem, "ShowTodayOnly", false));
}

// One section read in one pass, answering reads as SettingsView does.
class SectionValues {
 public:
  SectionValues(const SettingsView& file, const std::string& section)
      : values_(file.ReadSectionValues(section)) {
    for (auto& [name, value] : values_)
      name = UpCaseText(name);
  }
  std::string String(std::string_view key, std::string_view fallback) const {
    const std::string* value = Find(key);
    return value ? *value : std::string(fallback);
  }
  int Integer(std::string_view key, int fallback) const {
    const std::string* value = Find(key);
    return value ? ParseSettingsInteger(*value).value_or(fallback) : fallback;
  }
  bool Bool(std::string_view key, bool fallback) const {
    const std::string* value = Find(key);
    if (!value) return fallback;
    const std::optional<int> number = ParseSettingsInteger(*value);
    return number ? *number != 0 : fallback;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : values_)
      names.push_back(entry.first);
    return names;
  }

 private:
  // `key` is given in upper case.
  const std::string* Find(std::string_view key) const {
    for (const auto& [name, value] : values_)
      if (name == key) return &value;
    return nullptr;
  }
  std::vector<std::pair<std::string, std::string>> values_;
};

void CopyEntry(const SettingsView& file, int from, int to, FileText& out) {
  const SectionValues in(file, std::to_string(from));
  out.Section(std::to_string(to));
  out.Key("TITLE", in.String("TITLE", ""));
  const int lines = MemoLineCount(in.Integer("MEMOCOUNT", 0), in.Names());
  for (int i = 0; i < lines; ++i)
    out.Key(MemoKey(i), in.String(MemoKey(i), ""));
  out.Integer("MEMOCount", lines);
  out.Integer("EveryDay", in.Integer("EVERYDAY", 0));
  out.Integer("Repeat", in.Integer("REPEAT", 0));
  out.Bool("RepeatMin", in.Bool("REPEATMIN", true));
  out.Key("HourX", in.String("HOURX", "99"));
  out.Key("MinuteX", in.String("MINUTEX", "99"));
  out.Bool("Time", in.Bool("TIME", false));
  out.Key("DayX", in.String("DAYX", "99"));
  out.Key("MonthX", in.String("MONTHX", "99"));
  out.Bool("Date", in.Bool("DATE", false));
  out.Bool("Enabled", in.Bool("ENABLED", false));
  out.Bool("PeriodT", in.Bool("PERIODT", false));
  out.Key("PeriodHour", in.String("PERIODHOUR", "01"));
  out.Key("PeriodMin", in.String("PERIODMIN", "01"));
  out.Bool("PeriodE", in.Bool("PERIODE", false));
  out.Key("PeriodDay", in.String("PERIODDAY", "01"));
  out.Key("PeriodMonth", in.String("PERIODMONTH", "01"));
  out.Bool("SndOff", in.Bool("SNDOFF", false));
  out.Bool("SndStd", in.Bool("SNDSTD", true));
  out.Bool("SndFile", in.Bool("SNDFILE", false));
  out.Bool("SndLoop", in.Bool("SNDLOOP", false));
  out.Key("SndFilename", in.String("SNDFILENAME", ""));
}

}  // namespace

std::vector<int> SortedOrder(const SettingsView& file, int entries) {
  using Key = std::array<int, 4>;  // month, day, hour, minute
  std::vector<Key> keys(static_cast<std::size_t>(std::max(entries, 0)));
  for (int n = 0; n < entries; ++n) {
    const std::string s = std::to_string(n);
    keys[static_cast<std::size_t>(n)] = {org_file::NumberOf(file.ReadString(s, "MonthX", "01")),
                                         org_file::NumberOf(file.ReadString(s, "DayX", "01")),
                                         org_file::NumberOf(file.ReadString(s, "HourX", "01")),
                                         org_file::NumberOf(file.ReadString(s, "MinuteX", "01"))};
  }
  std::vector<int> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  std::ranges::stable_sort(order, [&](int a, int b) {
    return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
  });
  return order;
}

std::string RewrittenBytes(const SettingsView& file, const std::vector<int>& order, int stored) {
  FileText out;
  // Room for an entry of a few lines of Cyrillic text, which takes two bytes a letter.
  out.Reserve(static_cast<std::size_t>(stored) * 1024 + 256);
  CopySystem(file, stored, out);
  const int sorted = static_cast<int>(order.size());
  for (int p = 0; p < sorted; ++p)
    CopyEntry(file, order[static_cast<std::size_t>(p)], p, out);
  for (int n = sorted; n < stored; ++n)
    CopyEntry(file, n, n, out);
  return out.Bytes();
}

void MoveRows(ScheduleTable& table, const std::vector<int>& order) {
  std::vector<ScheduleTable::Row> moved;
  moved.reserve(order.size());
  for (int from : order)
    moved.push_back(table[from]);
  for (std::size_t p = 0; p < moved.size(); ++p)
    table[static_cast<int>(p)] = std::move(moved[p]);
}

void SortOrganizerFile(const std::filesystem::path& file, ScheduleTable& table) {
  // Through a link, the file it points to is the one replaced.
  std::error_code ignored;
  const std::filesystem::path target =
      std::filesystem::is_symlink(file, ignored) ? std::filesystem::canonical(file, ignored) : file;
  if (target.empty()) throw SettingsWriteError(file);
  const SettingsView view = SettingsFile(target).View();
  const int stored = org_file::StoredEntryCount(view);
  const std::vector<int> order = SortedOrder(view, org_file::WorkedEntryCount(stored));
  const std::string bytes = RewrittenBytes(view, order, stored);

  const std::filesystem::path sorted = target.parent_path() / org_file::kSortFile;
  std::error_code cause;
  if (!WriteFileAtomically(sorted, bytes, {}, cause)) throw SettingsWriteError(sorted, cause);
  std::filesystem::rename(sorted, target, cause);
  if (cause) {
    std::filesystem::remove(sorted, ignored);
    throw SettingsWriteError(target, cause);
  }
  MoveRows(table, order);
}

}  // namespace pelorin::org_sort
