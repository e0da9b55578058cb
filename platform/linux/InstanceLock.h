#pragma once

#include <string>

#include "linux/ChannelRecord.h"
#include "linux/InstancePaths.h"

namespace pelorin::lnx {

// The single running suite of a home: an exclusive flock() on the lock file in the home
// (InstancePaths::LockFile, mode 600, so that nobody else can open it to hold the lock).
// It depends on nothing but the home, so a start from another terminal or with another
// XDG_RUNTIME_DIR finds it; the holder keeps there the record of its command channel.
// Trying and failing changes nothing. The file is made by the first start on a home (and
// the home too, mode 700, when it does not exist yet) and never removed, since a lock
// file that goes away could be taken twice. The lock lasts as long as the object (the
// process); a crash releases it with the process.
class InstanceLock {
 public:
  enum class State {
    Held,            // this process is the home's suite
    TakenByAnother,  // another suite runs on the home
    Failed,          // the home or its lock file cannot be made, opened or locked: Error()
  };

  // Tries to take the lock. Taken, it empties the record of a suite that crashed.
  explicit InstanceLock(InstancePaths paths);
  ~InstanceLock();  // empties the record and releases the lock
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  State state() const { return state_; }
  bool Held() const { return state_ == State::Held; }
  // Why the lock failed, naming the file; empty otherwise.
  const std::string& Error() const { return error_; }
  const InstancePaths& Paths() const { return paths_; }

  // The holder records where its channel is, in place of any older record. Empty, or the
  // reason.
  std::string WriteRecord(const ChannelRecord& record);
  void ClearRecord();

  // Whether a suite holds the lock of these paths' home now. Looks without creating
  // anything; a start that meets this look retries, as it does for the companion's.
  static bool TakenNow(const InstancePaths& paths);

 private:
  void Take(int fd);

  InstancePaths paths_;
  State state_ = State::Failed;
  std::string error_;
  int fd_ = -1;
};

}  // namespace pelorin::lnx
