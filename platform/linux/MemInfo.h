#pragma once

#include <string_view>

#include "ports/Desktop.h"

namespace pelorin::lnx {

// The memory figures in the text of /proc/meminfo ("Name:   value kB" lines):
// physical memory is MemTotal and MemAvailable, the page file SwapTotal and SwapFree,
// virtual memory CommitLimit and what of it Committed_AS leaves, and the memory load
// the share of MemTotal that is not available. A line that is missing or does not hold
// a number of kB reads 0, and so does every figure computed from it; a figure that
// would be negative (more committed than the limit) reads 0.
ports::MemoryStatus ParseMemInfo(std::string_view text);

}  // namespace pelorin::lnx
