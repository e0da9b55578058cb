#pragma once

#include <string>

namespace pelorin::ports {

enum class ProcessPriority { Idle, Normal, High };

// Facts of the desktop session and the suite's place in it.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // The name the user logged on with.
  virtual std::string LogonUserName() const = 0;

  // The suite's autostart entry (the "Pelorin" value of the Run key): whether the
  // place for it exists, whether the entry exists, and writing it with the command
  // line that starts the suite. Writing is refused (false) where the suite is not
  // installed.
  virtual bool AutostartPlaceExists() const = 0;
  virtual bool AutostartExists() const = 0;
  virtual bool WriteAutostart() = 0;

  // The process priority; a change the system refuses leaves it as it was (false).
  virtual bool SetPriority(ProcessPriority priority) = 0;
};

}  // namespace pelorin::ports
