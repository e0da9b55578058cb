#include "linux/LinuxDesktop.h"

#include <pwd.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/AtomicFile.h"
#include "linux/MemInfo.h"

namespace fs = std::filesystem;

namespace pelorin::lnx {
namespace {

// The user's passwd entry (home directory and name); the buffer holds its strings.
struct PasswdEntry {
  passwd entry{};
  std::vector<char> buffer = std::vector<char>(16384);
  bool found = false;
};

PasswdEntry CurrentUser() {
  PasswdEntry result;
  passwd* found = nullptr;
  result.found = ::getpwuid_r(::getuid(), &result.entry, result.buffer.data(), result.buffer.size(),
                              &found) == 0 &&
                 found != nullptr;
  return result;
}

fs::path ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && fs::path(config).is_absolute()) return config;
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return fs::path(home) / ".config";
  const PasswdEntry user = CurrentUser();
  if (user.found && user.entry.pw_dir != nullptr) return fs::path(user.entry.pw_dir) / ".config";
  return fs::path("/tmp") / ".config";
}

// One argument of a desktop entry's Exec key: quoted when it holds a reserved
// character, with '"', '`', '$' and '\' escaped inside the quotes; then the escapes of
// every string value (a backslash doubles) and of field codes ('%' doubles).
std::string ExecArgument(std::string_view argument) {
  constexpr std::string_view kReserved = " \t\"'\\><~|&;$*?#()`";
  std::string quoted;
  const bool quote =
      argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
  if (quote) quoted += '"';
  for (const char c : argument) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
    quoted += c;
  }
  if (quote) quoted += '"';
  std::string escaped;
  for (const char c : quoted) {
    if (c == '\\') escaped += '\\';
    if (c == '%') escaped += '%';
    escaped += c;
  }
  return escaped;
}

bool HasLineBreak(const fs::path& path) {
  return path.native().find_first_of("\r\n") != std::string::npos;
}

bool SamePlace(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

int NiceOf(ports::ProcessPriority priority) {
  switch (priority) {
    case ports::ProcessPriority::Idle:
      return 19;
    case ports::ProcessPriority::High:
      return -10;
    case ports::ProcessPriority::Normal:
      break;
  }
  return 0;
}

}  // namespace

LinuxDesktop::LinuxDesktop(fs::path program, fs::path home, bool installed, fs::path defaultHome,
                           fs::path memInfoFile)
    : program_(std::move(program)),
      home_(std::move(home)),
      installed_(installed),
      defaultHome_(std::move(defaultHome)),
      autostartFile_(ConfigHome() / "autostart" / "pelorin.desktop"),
      memInfoFile_(std::move(memInfoFile)) {}

std::string LinuxDesktop::LogonUserName() const {
  const PasswdEntry user = CurrentUser();
  return user.found && user.entry.pw_name != nullptr ? user.entry.pw_name : "";
}

bool LinuxDesktop::AutostartExists() const {
  std::error_code ec;
  return fs::exists(autostartFile_, ec);
}

std::string LinuxDesktop::AutostartEntry() const {
  if (HasLineBreak(program_) || HasLineBreak(home_)) return "";
  std::string exec = ExecArgument(program_.string());
  if (!SamePlace(home_, defaultHome_)) {
    exec += " --home " + ExecArgument(home_.string());
  }
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Pelorin\n"
         "Comment=Personal office suite\n"
         "Exec=" +
         exec +
         "\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

bool LinuxDesktop::WriteAutostart() {
  if (!installed_) return false;
  const std::string entry = AutostartEntry();
  if (entry.empty()) return false;
  std::error_code ec;
  fs::create_directories(autostartFile_.parent_path(), ec);
  if (ec) return false;
  return WriteFileAtomically(autostartFile_, entry);
}

bool LinuxDesktop::SetPriority(ports::ProcessPriority priority) {
  const int nice = NiceOf(priority);
  // Linux keeps a nice value per thread. The calling thread goes first: when the
  // system refuses it (EACCES, EPERM), nothing has changed.
  if (::setpriority(PRIO_PROCESS, 0, nice) != 0) return false;
  const auto self = static_cast<long>(::gettid());
  std::error_code ec;
  for (const auto& task : fs::directory_iterator("/proc/self/task", ec)) {
    const std::string name = task.path().filename().string();
    char* end = nullptr;
    const long tid = std::strtol(name.c_str(), &end, 10);
    if (end == nullptr || *end != '\0' || tid <= 0 || tid == self) continue;
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
  }
  return true;
}

ports::MemoryStatus LinuxDesktop::GlobalMemoryStatus() const {
  const std::optional<std::string> text = ReadWholeFile(memInfoFile_);
  return text ? ParseMemInfo(*text) : ports::MemoryStatus{};
}

}  // namespace pelorin::lnx
