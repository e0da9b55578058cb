#include "support/ForkedChild.h"

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>

namespace pelorin::testing {
namespace {

constexpr uid_t kNobody = 65534;

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0 && errno != EINTR) return;
    if (n > 0) done += static_cast<std::size_t>(n);
  }
}

std::string SystemReason(const char* step) {
  return std::string(step) + ": " + std::strerror(errno);
}

}  // namespace

ChildReport RunInChild(const std::function<std::string()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) return {false, -1, SystemReason("pipe")};
  const pid_t child = ::fork();
  if (child < 0) return {false, -1, SystemReason("fork")};
  if (child == 0) {
    ::close(channel[0]);
    int status = 0;
    std::string text;
    try {
      text = body();
    } catch (const std::exception& e) {
      text = e.what();
      status = 1;
    }
    WriteAll(channel[1], text);
    ::_exit(status);
  }
  ::close(channel[1]);
  ChildReport report;
  char buffer[4096];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    report.text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(channel[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  report.exited = WIFEXITED(status);
  report.exitStatus = report.exited ? WEXITSTATUS(status) : -1;
  return report;
}

bool MakeReadOnlyForThisProcess(const std::filesystem::path& directory, std::string& why) {
  if (::unshare(CLONE_NEWNS) != 0) return why = SystemReason("unshare"), false;
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return why = SystemReason("private mounts"), false;
  }
  if (::mount(directory.c_str(), directory.c_str(), nullptr, MS_BIND | MS_REC, nullptr) != 0) {
    return why = SystemReason("bind mount"), false;
  }
  if (::mount(nullptr, directory.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) !=
      0) {
    return why = SystemReason("read-only remount"), false;
  }
  return true;
}

bool TakeOrdinaryUsersRights(std::string& why) {
  if (::geteuid() != 0) return true;
  if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
      ::setresuid(kNobody, kNobody, kNobody) != 0) {
    return why = SystemReason("switch to nobody"), false;
  }
  return true;
}

}  // namespace pelorin::testing
