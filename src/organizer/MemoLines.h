#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

class SettingsView;

// The text of an organizer entry: the lines "MEMO0", "MEMO1", ... of its section,
// `MEMOCount` of them. A count beyond the highest MEMO key the section holds would add
// only empty lines and is cut there, so that a damaged count costs nothing.
std::vector<std::string> ReadMemoLines(const SettingsView& file, std::string_view section);

}  // namespace pelorin
