#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "linux/InstanceLock.h"

class QLocalServer;
class QLocalSocket;

namespace pelorin::lnx {

// The running suite's command channel: a local socket (mode 600) in the suite's runtime
// folder, whose place the suite records in its lock file in the home (ChannelRecord) so
// that a start from any environment finds it. A client connects, sends one line of text and gets
// one line back; what the words mean is the caller's business. Lines are UTF-8 and end with "\n";
// a line break inside a reply is sent as a blank. Both ends make sure that the other
// runs as the same user: the suite drops a connection from anyone else unread, a client
// sends nothing to a channel that another user opened.
class InstanceChannel {
 public:
  // Answers one received line (without its line end).
  using Handler = std::function<std::string(const std::string& line)>;

  // What a client got: the reply line, or nothing and the reason.
  struct SendResult {
    std::optional<std::string> reply;
    std::string error;
  };

  // The longest line accepted; a longer one ends the connection unanswered.
  static constexpr int kMaxLineBytes = 64 * 1024;
  // A client that sends no complete line within this time is disconnected.
  static constexpr int kLineTimeoutMs = 5000;

  // `lock` must outlive the channel.
  InstanceChannel(InstanceLock& lock, Handler handler);
  ~InstanceChannel();  // closes the socket and removes its record
  InstanceChannel(const InstanceChannel&) = delete;
  InstanceChannel& operator=(const InstanceChannel&) = delete;

  // Starts listening on the home's socket and records where it is. Only the holder of
  // the instance lock listens, in a runtime folder it has secured: it removes the socket
  // file a crashed suite left behind first. False, with the reason in Error(), when the
  // lock is not held or the socket or its record cannot be made.
  bool Listen();
  bool Listening() const;
  const std::string& Error() const { return error_; }

  // Sends `line` to the suite running on the home of these paths (at the socket its
  // record names, else at the one of this environment's runtime folder) and waits at
  // most `timeoutMs` for its reply line. No reply, and the reason, when no suite runs
  // or its channel is not open (yet), the channel
  // belongs to another user, the suite does not answer in time, or `line` holds a line
  // break.
  static SendResult Send(const InstancePaths& paths, const std::string& line, int timeoutMs);

 private:
  void Accept();
  void Answer(QLocalSocket* socket);

  InstanceLock& lock_;
  Handler handler_;
  std::unique_ptr<QLocalServer> server_;
  std::string error_;
};

}  // namespace pelorin::lnx
