#pragma once

#include <string>

#include "linux/InstancePaths.h"

namespace pelorin::lnx {

// The single running suite of a home: an exclusive flock() on the home folder itself,
// opened for reading. It depends on nothing but the home, so a start from another
// terminal or with another XDG_RUNTIME_DIR finds it, and it needs no file: trying and
// failing changes nothing. A home that does not exist yet is created first (mode 700),
// as the suite would create it anyway. The lock lasts as long as the object (the
// process); a crash releases it with the process.
class InstanceLock {
 public:
  enum class State {
    Held,            // this process is the home's suite
    TakenByAnother,  // another suite runs on the home
    Failed,          // the home cannot be made, opened or locked: see Error()
  };

  // Tries to take the lock.
  explicit InstanceLock(InstancePaths paths);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  State state() const { return state_; }
  bool Held() const { return state_ == State::Held; }
  // Why the lock failed, naming the home; empty otherwise.
  const std::string& Error() const { return error_; }
  const InstancePaths& Paths() const { return paths_; }

 private:
  InstancePaths paths_;
  State state_ = State::Failed;
  std::string error_;
  int fd_ = -1;
};

}  // namespace pelorin::lnx
