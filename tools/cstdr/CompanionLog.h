#pragma once

#include <string_view>

namespace pelorin::cstdr {

// One line to standard error, prefixed "cstdr: ": what the watchdog saw and did.
void Log(std::string_view text);

}  // namespace pelorin::cstdr
