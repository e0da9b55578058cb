#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "linux/InstanceLock.h"

class QLocalServer;
class QLocalSocket;

namespace pelorin::lnx {

// The running suite's command channel: a local socket beside the instance lock. A
// client connects, sends one line of text and gets one line back; what the words
// mean is the caller's business. Lines are UTF-8 and end with "\n"; a line break
// inside a reply is sent as a blank.
class InstanceChannel {
 public:
  // Answers one received line (without its line end).
  using Handler = std::function<std::string(const std::string& line)>;

  // The longest line accepted; a longer one ends the connection unanswered.
  static constexpr int kMaxLineBytes = 64 * 1024;
  // A client that sends no complete line within this time is disconnected.
  static constexpr int kLineTimeoutMs = 5000;

  // `lock` must outlive the channel.
  InstanceChannel(const InstanceLock& lock, Handler handler);
  ~InstanceChannel();
  InstanceChannel(const InstanceChannel&) = delete;
  InstanceChannel& operator=(const InstanceChannel&) = delete;

  // Starts listening on the home's socket. Only the holder of the instance lock
  // listens: it removes the socket file a crashed suite left behind first. False when
  // the lock is not held or the socket cannot be made.
  bool Listen();
  bool Listening() const;

  // Sends `line` to the suite running for these paths and waits at most `timeoutMs`
  // for its reply line. Nothing when no suite listens, it does not answer in time, or
  // `line` holds a line break.
  static std::optional<std::string> Send(const InstancePaths& paths, const std::string& line,
                                         int timeoutMs);

 private:
  void Accept();
  void Answer(QLocalSocket* socket);

  const InstanceLock& lock_;
  Handler handler_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace pelorin::lnx
