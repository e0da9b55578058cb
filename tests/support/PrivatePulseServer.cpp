#include "support/PrivatePulseServer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "support/Eventually.h"

namespace pelorin::testing {
namespace {

constexpr auto kStartWait = std::chrono::seconds(10);

}  // namespace

PrivatePulseServer::PrivatePulseServer() : socket_(folder_ / "native") {
  if (::access(kProgram, X_OK) != 0) return;
  const std::string folder = folder_.path().string();
  const std::string log = (folder_ / "log").string();
  const std::vector<std::string> args = {
      kProgram,
      "-n",
      "--daemonize=no",
      "--exit-idle-time=-1",
      "--use-pid-file=no",
      "--disable-shm=yes",
      "-L",
      "module-null-sink sink_name=nullsink",
      "-L",
      "module-native-protocol-unix auth-anonymous=1 socket=" + socket_.string(),
      "-L",
      "module-always-sink"};
  pid_ = ::fork();
  if (pid_ == 0) {
    // The server keeps its state and looks for its configuration in the private folder.
    ::setenv("HOME", folder.c_str(), 1);
    ::setenv("PULSE_RUNTIME_PATH", folder.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    ::unsetenv("PULSE_SERVER");
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out >= 0) {
      ::dup2(out, 1);
      ::dup2(out, 2);
    }
    std::vector<char*> argv;
    for (const auto& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(kProgram, argv.data());
    ::_exit(127);
  }
  if (pid_ < 0) return;
  // Up once its socket exists; a server that ended instead is not waited for further.
  Eventually(
      [&] {
        std::error_code ec;
        running_ = std::filesystem::exists(socket_, ec);
        if (running_) return true;
        if (::waitpid(pid_, nullptr, WNOHANG) != pid_) return false;
        pid_ = -1;
        return true;
      },
      kStartWait);
}

PrivatePulseServer::~PrivatePulseServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGCONT);
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

void PrivatePulseServer::Freeze() {
  if (pid_ > 0) ::kill(pid_, SIGSTOP);
}

void PrivatePulseServer::Thaw() {
  if (pid_ > 0) ::kill(pid_, SIGCONT);
}

std::string PrivatePulseServer::Log() const {
  return ReadBytes(folder_ / "log");
}

}  // namespace pelorin::testing
