#pragma once

#include <string>

namespace pelorin::ports {

enum class ShowMode { Normal, Default, Minimized, Maximized, Hidden };

// Runs programs and opens documents and addresses (ShellExecute "open").
class Shell {
 public:
  virtual ~Shell() = default;

  // Opens `file` with `parameters` in `directory`: a program is started, a document
  // or an address goes to the desktop's handler for it. False when nothing could be
  // started.
  virtual bool Open(const std::string& file, const std::string& parameters,
                    const std::string& directory, ShowMode mode) = 0;
};

}  // namespace pelorin::ports
