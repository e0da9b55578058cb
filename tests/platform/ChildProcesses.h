#pragma once

// Helpers for tests that run programs of the suite as child processes.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/Eventually.h"

extern char** environ;

namespace pelorin::testing {

// The exit status of a child process once it has ended; nothing when it was killed or is
// still running at the limit.
inline std::optional<int> WaitForExit(pid_t pid,
                                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  std::optional<int> status;
  Eventually(
      [&] {
        int raw = 0;
        const pid_t ended = ::waitpid(pid, &raw, WNOHANG);
        if (ended < 0) return true;  // collected before
        if (ended != pid) return false;
        if (WIFEXITED(raw)) status = WEXITSTATUS(raw);
        return true;
      },
      limit);
  return status;
}

// Starts a program with this process's environment, its standard output and error
// appended to `output`; `inherited` (when not negative) is given to it as descriptor 3.
// The process id, or -1.
inline pid_t Spawn(const std::vector<std::string>& args, const std::filesystem::path& output,
                   int inherited = -1) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  if (inherited >= 0) posix_spawn_file_actions_adddup2(&actions, inherited, 3);
  std::vector<char*> argv;
  for (const auto& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

}  // namespace pelorin::testing
