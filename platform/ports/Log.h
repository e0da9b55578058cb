#pragma once

#include <string>

namespace pelorin::ports {

// Diagnostics for failures the suite handles quietly (a backup that could not be
// refreshed, a sound-card error, a refused key grab): one line each, never a dialog.
class Log {
 public:
  virtual ~Log() = default;

  // `source` names the part that writes (for example "backup", "alsa", "hotkeys");
  // `line` is one line of text without a line end.
  virtual void Write(const std::string& source, const std::string& line) = 0;
};

}  // namespace pelorin::ports
