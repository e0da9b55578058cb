#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace pelorin::testing {

// A PulseAudio server of a test's own: one null sink "nullsink", a socket in a private
// folder that takes clients without a cookie, and no other module. Started when made
// (Running() tells whether it came up within a few seconds), killed when it goes.
// Clients reach it through PULSE_SERVER set to Address(); through libasound2-plugins,
// ALSA's default device then is this server's mixer.
class PrivatePulseServer {
 public:
  static constexpr const char* kProgram = "/usr/bin/pulseaudio";

  PrivatePulseServer();
  ~PrivatePulseServer();
  PrivatePulseServer(const PrivatePulseServer&) = delete;
  PrivatePulseServer& operator=(const PrivatePulseServer&) = delete;

  bool Running() const { return running_; }
  std::string Address() const { return "unix:" + socket_.string(); }
  const std::filesystem::path& Socket() const { return socket_; }
  // Stops the server's process (SIGSTOP) as a hung server, and lets it go on.
  void Freeze();
  void Thaw();
  // The server's log, for a test's failure message.
  std::string Log() const;

 private:
  TempDir folder_;
  std::filesystem::path socket_;
  pid_t pid_ = -1;
  bool running_ = false;
};

}  // namespace pelorin::testing
