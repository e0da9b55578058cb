#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "CtlCommands.h"
#include "storage/SettingsFile.h"

namespace pelorin::ctl {

bool FreeOfLineBreaks(const Args& args) {
  for (const auto& a : args) {
    if (a.find_first_of("\r\n") != std::string::npos) return false;
  }
  return true;
}

int RunChange(const std::function<int()>& change) {
  try {
    return change();
  } catch (const SettingsNameError& e) {
    std::cerr << "pelorinctl: " << e.what() << "\n";
    return kUsage;
  } catch (const SettingsWriteError& e) {
    std::cerr << e.what() << "\n";
    return kFailed;
  } catch (const std::exception& e) {
    std::cerr << "pelorinctl: " << e.what() << "\n";
    return kFailed;
  }
}

bool ExistsButUnreadable(const std::string& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return false;
  if (!std::filesystem::is_regular_file(file, ec)) return true;
  // Opening is enough to know: the settings file reads it whole right after.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return true;
  ::close(fd);
  return false;
}

}  // namespace pelorin::ctl
