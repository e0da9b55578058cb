#pragma once

#include <cstdint>
#include <string>

namespace pelorin::ports {

enum class ProcessPriority { Idle, Normal, High };

// The computer's memory figures in bytes, and the share of physical memory in use as a
// percentage (0-100). A figure the system does not report reads 0.
struct MemoryStatus {
  std::uint64_t TotalPhys = 0;      // physical memory
  std::uint64_t AvailPhys = 0;      // physical memory available to programs
  std::uint64_t TotalPageFile = 0;  // swap space
  std::uint64_t AvailPageFile = 0;
  std::uint64_t TotalVirtual = 0;  // memory the system may promise to programs
  std::uint64_t AvailVirtual = 0;  // what it may still promise
  unsigned MemoryLoad = 0;
};

// Facts of the desktop session and the suite's place in it.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // The name the user logged on with.
  virtual std::string LogonUserName() const = 0;

  // The suite's autostart entry (the "Pelorin" value of the Run key): whether it
  // exists, and writing it with the command line that starts the suite, making the
  // place for it when that is missing. Writing is refused (false) where the suite is
  // not installed.
  virtual bool AutostartExists() const = 0;
  virtual bool WriteAutostart() = 0;

  // The process priority; a change the system refuses leaves it as it was (false).
  virtual bool SetPriority(ProcessPriority priority) = 0;

  // The memory figures as they are now.
  virtual MemoryStatus GlobalMemoryStatus() const = 0;
};

}  // namespace pelorin::ports
