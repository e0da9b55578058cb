#pragma once

#include <string>
#include <vector>

namespace pelorin::testing {

struct ProgramResult {
  int exitStatus = -1;  // -1 when the program could not be run or was killed
  std::string out;
  std::string err;
};

// Runs a program with arguments (no shell) and collects its output.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace pelorin::testing
