#pragma once

#include <cstdint>

#include "core/CoreContext.h"

namespace pelorin {

// The media player's part of the 200 ms tick: find the player, and carry out the
// pending play, stop and playlist-position requests. A position request
// that the player never confirms is dropped after 10 seconds of the monotonic clock.
class WinampRemote {
 public:
  static constexpr std::int64_t kPositionRequestLifetimeMs = 10'000;

  explicit WinampRemote(CoreContext& ctx);

  void Tick();
  bool Running() const;

  // The requests the CD agent leaves for the next tick: play, stop, and whether to play
  // after the jump to the shared playlist-position request.
  bool PlayRequest = false;
  bool StopRequest = false;
  bool PlayAfterJump = false;

 private:
  CoreContext& ctx_;
  int trackedRequest_ = -1;
  std::int64_t requestSeenAtMs_ = 0;
};

}  // namespace pelorin
