#include "sim/SimShell.h"

#include <iostream>

namespace pelorin::sim {

bool SimShell::Open(const std::string& file, const std::string& parameters,
                    const std::string& directory, ports::ShowMode mode) {
  launches_.push_back({file, parameters, directory, mode});
  return !fail_;
}

}  // namespace pelorin::sim
