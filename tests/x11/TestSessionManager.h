#pragma once

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace pelorin::testing {

// A session manager of the X session management protocol (XSMP) with one client, as
// far as a logout needs it: it listens on a local ICE socket (named by SESSION_MANAGER,
// which a program started with that variable connects to), registers the client, and
// plays the end of a session: "save yourself" for a shutdown, then "die" once the
// client has saved. Every call runs the protocol until its condition holds or the limit
// passes.
class TestSessionManager {
 public:
  TestSessionManager();
  ~TestSessionManager();
  TestSessionManager(const TestSessionManager&) = delete;
  TestSessionManager& operator=(const TestSessionManager&) = delete;

  // What a client needs in SESSION_MANAGER; empty when the manager could not listen.
  const std::string& Address() const { return address_; }

  bool WaitForClient(std::chrono::milliseconds limit);
  // Asks the client to save for a shutdown; true once it said it is done, with
  // `success` telling what it answered.
  bool SaveYourselfForShutdown(std::chrono::milliseconds limit, bool& success);
  // Tells the client to die; true once it closed its connection.
  bool Die(std::chrono::milliseconds limit);

 private:
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

  static Status NewClient(SmsConn connection, SmPointer data, unsigned long* mask,
                          SmsCallbacks* callbacks, char** failureReason);

  std::string address_;
  IceListenObj* listeners_ = nullptr;
  int listenerCount_ = 0;
  std::vector<IceConn> connections_;
  std::vector<IceConn> closing_;
  SmsConn client_ = nullptr;
  bool registered_ = false;
  bool saveDone_ = false;
  bool saveSucceeded_ = false;
  bool closed_ = false;
};

}  // namespace pelorin::testing
