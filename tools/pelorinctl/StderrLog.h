#pragma once

#include "ports/Log.h"

namespace pelorin::ctl {

// The suite's diagnostics for a command-line user: "pelorinctl: SOURCE: LINE" on
// standard error, beside the tool's own messages.
class StderrLog : public ports::Log {
 public:
  void Write(const std::string& source, const std::string& line) override;
};

}  // namespace pelorin::ctl
