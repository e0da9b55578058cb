#pragma once

#include <string>
#include <vector>

namespace pelorin::ports {

enum class ShowMode { Normal, Default, Minimized, Maximized, Hidden };

// Where the desktop's calculator, the stand-in for the Windows calculator "calc.exe",
// was looked for and what was found.
struct CalculatorSearch {
  std::vector<std::string> lookedFor;  // the programs it may be, the preferred first
  std::string found;                   // the first of them installed; empty when none is
};

// Runs programs and opens documents and addresses (ShellExecute "open").
class Shell {
 public:
  virtual ~Shell() = default;

  // Opens `file` with `parameters` in `directory`: a program is started, a document
  // or an address goes to the desktop's handler for it. False when nothing could be
  // started.
  virtual bool Open(const std::string& file, const std::string& parameters,
                    const std::string& directory, ShowMode mode) = 0;

  // The calculator that Open("calc.exe") starts.
  virtual CalculatorSearch FindCalculator() const = 0;
};

}  // namespace pelorin::ports
