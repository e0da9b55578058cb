#include <filesystem>
#include <string>

#include "CtlCommands.h"
#include "common/AtomicFile.h"

namespace pelorin::ctl {

bool FreeOfLineBreaks(const Args& args) {
  for (const auto& a : args) {
    if (a.find_first_of("\r\n") != std::string::npos) return false;
  }
  return true;
}

bool ExistsButUnreadable(const std::string& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return false;
  return !ReadWholeFile(file).has_value();
}

}  // namespace pelorin::ctl
