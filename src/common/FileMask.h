#pragma once

#include <string_view>

namespace pelorin {

// Whether a file name matches a Windows file mask: "*" stands for any run of
// characters, "?" for exactly one character, and letters compare without regard to
// case (ASCII and Cyrillic, through `UpCaseText`). A mask ending in ".*" also matches
// names without that extension, so "*.*" matches every name, with or without a dot,
// and "readme.*" matches "README". Names and masks are UTF-8.
bool MatchesFileMask(std::string_view name, std::string_view mask);

}  // namespace pelorin
