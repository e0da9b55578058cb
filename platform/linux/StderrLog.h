#pragma once

#include "ports/Log.h"

namespace pelorin::lnx {

// Diagnostics on standard error, which the desktop's journal keeps for a program it
// started: "pelorin: SOURCE: LINE".
class StderrLog : public ports::Log {
 public:
  void Write(const std::string& source, const std::string& line) override;
};

}  // namespace pelorin::lnx
