#pragma once

#include <string>
#include <vector>

#include "ports/Shell.h"

namespace pelorin::sim {

// Records every launch instead of performing it.
class SimShell : public ports::Shell {
 public:
  struct Launch {
    std::string file, parameters, directory;
    ports::ShowMode mode;
  };

  bool Open(const std::string& file, const std::string& parameters, const std::string& directory,
            ports::ShowMode mode) override;

  // The simulated desktop has one calculator, unless a test removes it.
  ports::CalculatorSearch FindCalculator() const override;
  void RemoveCalculator() { calculatorInstalled_ = false; }

  const std::vector<Launch>& Launches() const { return launches_; }
  // Makes every later launch fail, as a missing program would.
  void FailLaunches(bool fail) { fail_ = fail; }

 private:
  std::vector<Launch> launches_;
  bool fail_ = false;
  bool calculatorInstalled_ = true;
};

}  // namespace pelorin::sim
