#include "app/LoggedSimServices.h"

#include <iostream>
#include <utility>

namespace pelorin::app {

bool LoggedSimShell::Open(const std::string& file, const std::string& parameters,
                          const std::string& directory, ports::ShowMode mode) {
  std::cerr << "pelorin (sim): open \"" << file << "\" parameters \"" << parameters << "\" in \""
            << directory << "\"\n";
  return SimShell::Open(file, parameters, directory, mode);
}

bool LoggedSimDesktop::WriteAutostart() {
  std::cerr << "pelorin (sim): autostart entry written\n";
  return SimDesktop::WriteAutostart();
}

bool LoggedSimDesktop::SetPriority(ports::ProcessPriority wanted) {
  static const char* const kNames[] = {"idle", "normal", "high"};
  std::cerr << "pelorin (sim): process priority " << kNames[static_cast<int>(wanted)] << "\n";
  return SimDesktop::SetPriority(wanted);
}

void LoggedSimPower::Perform(ports::PowerCall call, ports::PowerReply reply) {
  static const char* const kNames[] = {"power off", "reboot", "log off", "suspend", "hibernate"};
  std::cerr << "pelorin (sim): " << kNames[static_cast<int>(call)] << "\n";
  SimPower::Perform(call, std::move(reply));
}

}  // namespace pelorin::app
