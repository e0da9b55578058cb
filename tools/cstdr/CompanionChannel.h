#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>
#include <vector>

#include "linux/InstancePaths.h"
#include "ports/CompanionMessage.h"

namespace pelorin::cstdr {

// A message the suite posted: the line "POST <message> <wParam> <lParam>".
using ports::CompanionMessage;

// The companion's "window": the local socket InstancePaths::CompanionSocket on which
// the suite posts its messages, one connection per message; connections of other users
// are dropped unread. One companion per home: the channel is held under an exclusive
// lock on InstancePaths::CompanionLock beside the socket,
// so a second companion learns at once that it is not needed, and a socket file left
// by a companion that crashed is replaced.
class CompanionChannel {
 public:
  enum class OpenResult { Opened, AnotherCompanion, Failed };

  explicit CompanionChannel(lnx::InstancePaths paths);
  ~CompanionChannel();  // closes the channel and removes its socket file
  CompanionChannel(const CompanionChannel&) = delete;
  CompanionChannel& operator=(const CompanionChannel&) = delete;

  OpenResult Open();

  // Waits up to `wait` for the suite to connect, then reads every connection that is
  // waiting and returns the messages they carried (lines that are not messages are
  // ignored). Returns early when something arrived or a signal came.
  std::vector<CompanionMessage> Receive(std::chrono::milliseconds wait);

  // The message of one line, or false.
  static bool ParseLine(std::string_view line, CompanionMessage& message);

 private:
  void ReadConnection(int fd, std::vector<CompanionMessage>& messages);

  lnx::InstancePaths paths_;
  int lockFd_ = -1;
  int listenFd_ = -1;
};

}  // namespace pelorin::cstdr
