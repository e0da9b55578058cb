#include "SuiteLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace pelorin::cstdr {

namespace {

// The read end of a pipe that already holds `text` and whose write end is closed, at a
// descriptor above the standard ones (which the child replaces); -1 with the reason in
// error when it cannot be made.
int PipeHolding(const std::string& text, std::string& error) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return -1;
  }
  // A pipe takes a short text at once: the write never waits for a reader.
  const bool written =
      ::write(ends[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
  const int failure = errno;
  ::close(ends[1]);
  const int readEnd = written ? ::fcntl(ends[0], F_DUPFD_CLOEXEC, 3) : -1;
  if (readEnd < 0) error = std::strerror(written ? errno : failure);
  ::close(ends[0]);
  return readEnd;
}

}  // namespace

pid_t StartSuiteRestoring(const CompanionOptions& options, const std::string& secret,
                          std::string& error) {
  std::vector<std::string> args = {options.suite.string(), "PELORIN.EXE", "--home",
                                   options.home.string()};
  if (!options.backend.empty()) {
    args.push_back("--backend");
    args.push_back(options.backend);
  }
  int secretFd = -1;
  if (!secret.empty()) {
    secretFd = PipeHolding(secret + "\n", error);
    if (secretFd < 0) return -1;
    args.push_back("--restore-fd");
    args.push_back(std::to_string(secretFd));
  }
  std::vector<char*> argv;
  for (auto& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);

  // The child reports a failed exec through this pipe; a successful exec closes it.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    if (secretFd >= 0) ::close(secretFd);
    return -1;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    if (secretFd >= 0) ::fcntl(secretFd, F_SETFD, 0);  // the one descriptor the suite inherits
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
  if (secretFd >= 0) ::close(secretFd);
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
