#pragma once

#include <filesystem>
#include <string>

#include "ports/Desktop.h"

namespace pelorin::lnx {

// The user's desktop session. The suite's autostart entry is the XDG autostart file
// $XDG_CONFIG_HOME/autostart/pelorin.desktop (by default ~/.config/autostart), which
// starts the installed program, with "--home" when the suite's home is not the
// default one. The priority is the nice value of every thread of the process. The
// memory figures come from /proc/meminfo.
class LinuxDesktop : public ports::Desktop {
 public:
  // `program`: the suite's executable; `installed`: whether it is an installed copy
  // (an uninstalled build never writes an autostart entry); `home`: the suite's home;
  // `defaultHome`: the home the program finds when started without "--home";
  // `memInfoFile`: where the kernel's memory figures are read.
  LinuxDesktop(std::filesystem::path program, std::filesystem::path home, bool installed,
               std::filesystem::path defaultHome,
               std::filesystem::path memInfoFile = "/proc/meminfo");

  std::string LogonUserName() const override;
  bool AutostartExists() const override;
  // Makes the autostart folder when it does not exist yet.
  bool WriteAutostart() override;
  // Idle is nice 19, Normal 0, High -10.
  bool SetPriority(ports::ProcessPriority priority) override;
  // All figures 0 when the memory file cannot be read.
  ports::MemoryStatus GlobalMemoryStatus() const override;

  const std::filesystem::path& AutostartFile() const { return autostartFile_; }
  // The text of the autostart entry; empty when the program or home cannot be written
  // into a command line (a line break in a path).
  std::string AutostartEntry() const;

 private:
  std::filesystem::path program_;
  std::filesystem::path home_;
  bool installed_;
  std::filesystem::path defaultHome_;
  std::filesystem::path autostartFile_;
  std::filesystem::path memInfoFile_;
};

}  // namespace pelorin::lnx
