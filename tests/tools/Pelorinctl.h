#pragma once

#include <string>
#include <vector>

#include "support/RunProgram.h"

namespace pelorin::testing {

// Runs the built pelorinctl with these arguments.
inline ProgramResult Ctl(std::vector<std::string> args) {
  return RunProgram(PELORIN_BUILD_DIR "/bin/pelorinctl", std::move(args));
}

}  // namespace pelorin::testing
