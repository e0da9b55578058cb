#include "sim/SimLog.h"

#include <algorithm>

namespace pelorin::sim {

int SimLog::CountFrom(const std::string& source) const {
  return static_cast<int>(
      std::ranges::count_if(lines_, [&](const Line& l) { return l.source == source; }));
}

}  // namespace pelorin::sim
