#include "organizer/MemoLines.h"

#include <algorithm>

#include "common/Text.h"
#include "storage/SettingsView.h"

namespace pelorin {
namespace {

constexpr std::string_view kPrefix = "MEMO";
// More digits than a line index of an int can have.
constexpr std::size_t kMaxIndexDigits = 9;

}  // namespace

std::vector<std::string> ReadMemoLines(const SettingsView& file, std::string_view section) {
  int highest = -1;
  for (const std::string& key : file.ReadSection(section)) {
    const std::string name = UpCaseText(key);
    if (!name.starts_with(kPrefix)) continue;
    const std::string_view index = std::string_view(name).substr(kPrefix.size());
    if (index.size() > kMaxIndexDigits || !IsDigits(index)) continue;
    highest = std::max(highest, std::stoi(std::string(index)));
  }
  const int count = std::min(file.ReadInteger(section, "MEMOCount", 0), highest + 1);
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i)
    lines.push_back(file.ReadString(section, std::string(kPrefix) + std::to_string(i), ""));
  return lines;
}

}  // namespace pelorin
