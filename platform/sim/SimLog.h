#pragma once

#include <string>
#include <vector>

#include "ports/Log.h"

namespace pelorin::sim {

// Keeps every diagnostic line, for tests to read.
class SimLog : public ports::Log {
 public:
  struct Line {
    std::string source, text;
  };

  void Write(const std::string& source, const std::string& line) override {
    lines_.push_back({source, line});
  }
  const std::vector<Line>& Lines() const { return lines_; }
  // How many lines `source` wrote.
  int CountFrom(const std::string& source) const;

 private:
  std::vector<Line> lines_;
};

}  // namespace pelorin::sim
