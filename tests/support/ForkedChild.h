#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace pelorin::testing {

// What a child process made by RunInChild reported.
struct ChildReport {
  bool exited = false;  // false when it was killed by a signal
  int exitStatus = -1;  // 0 when `body` returned, 1 when it raised
  std::string text;     // what `body` returned, or the exception's text
};

// Runs `body` in a forked child process, for what a test must not do to itself: take
// another user's rights, see the file system through a private mount. The child ends
// right after it, without running the test program's exit code.
ChildReport RunInChild(const std::function<std::string()>& body);

// In a child only: makes `directory` read-only for this process alone, through a
// private mount namespace and a read-only bind mount. False, with the reason in `why`,
// where the system does not allow it (no CAP_SYS_ADMIN).
bool MakeReadOnlyForThisProcess(const std::filesystem::path& directory, std::string& why);

// In a child only: as root, becomes the user "nobody" (65534), for whom the mode bits of
// root's files count; as another user, stays as it is (the mode bits count already).
// False, with the reason in `why`, when the switch is refused.
bool TakeOrdinaryUsersRights(std::string& why);

}  // namespace pelorin::testing
