#include "sim/SimShell.h"

namespace pelorin::sim {

bool SimShell::Open(const std::string& file, const std::string& parameters,
                    const std::string& directory, ports::ShowMode mode) {
  launches_.push_back({file, parameters, directory, mode});
  return !fail_;
}

ports::CalculatorSearch SimShell::FindCalculator() const {
  static const char* const kCalculator = "sim-calculator";
  return {{kCalculator}, calculatorInstalled_ ? kCalculator : ""};
}

}  // namespace pelorin::sim
