#include "StderrLog.h"

#include <cstdio>

namespace pelorin::ctl {

void StderrLog::Write(const std::string& source, const std::string& line) {
  std::fprintf(stderr, "pelorinctl: %s: %s\n", source.c_str(), line.c_str());
}

}  // namespace pelorin::ctl
