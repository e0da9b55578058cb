#include "linux/StderrLog.h"

#include <cstdio>

namespace pelorin::lnx {

void StderrLog::Write(const std::string& source, const std::string& line) {
  // One call per line, so that lines of other writers never interleave inside it.
  std::fprintf(stderr, "pelorin: %s: %s\n", source.c_str(), line.c_str());
}

}  // namespace pelorin::lnx
