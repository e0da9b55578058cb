#pragma once

#include <string>
#include <string_view>

namespace pelorin {

// The suite's case folding for every case-insensitive comparison: ASCII a-z and the
// 32 Cyrillic letters а-я (U+0430..U+044F) are raised; everything else, ё included,
// stays as it is. Works on UTF-8 text.
std::string UpCaseText(std::string_view text);

}  // namespace pelorin
