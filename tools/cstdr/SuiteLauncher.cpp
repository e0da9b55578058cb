#include "SuiteLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace pelorin::cstdr {

pid_t StartSuiteRestoring(const CompanionOptions& options, std::string& error) {
  std::vector<std::string> args = {options.suite.string(), "PELORIN.EXE", "--home",
                                   options.home.string()};
  if (!options.backend.empty()) {
    args.push_back("--backend");
    args.push_back(options.backend);
  }
  std::vector<char*> argv;
  for (auto& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);

  // The child reports a failed exec through this pipe; a successful exec closes it.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return -1;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    ::setsid();
    ::signal(SIGPIPE, SIG_DFL);
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0) {
      ::dup2(null, STDIN_FILENO);
      if (null != STDIN_FILENO) ::close(null);
    }
    ::execv(argv[0], argv.data());
    const int failure = errno;
    [[maybe_unused]] const ssize_t written = ::write(report[1], &failure, sizeof failure);
    ::_exit(127);
  }
  ::close(report[1]);
  if (pid < 0) {
    error = std::strerror(errno);
    ::close(report[0]);
    return -1;
  }
  int failure = 0;
  ssize_t n;
  do {
    n = ::read(report[0], &failure, sizeof failure);
  } while (n < 0 && errno == EINTR);
  ::close(report[0]);
  if (n == static_cast<ssize_t>(sizeof failure)) {
    error = std::strerror(failure);
    ::waitpid(pid, nullptr, 0);
    return -1;
  }
  return pid;
}

bool ReapEndedChildren(pid_t child) {
  bool ended = false;
  for (;;) {
    const pid_t pid = ::waitpid(-1, nullptr, WNOHANG);
    if (pid <= 0) break;
    if (pid == child) ended = true;
  }
  return ended;
}

}  // namespace pelorin::cstdr
