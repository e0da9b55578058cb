#include "CompanionLog.h"

#include <cstdio>

namespace pelorin::cstdr {

void Log(std::string_view text) {
  std::fprintf(stderr, "cstdr: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace pelorin::cstdr
