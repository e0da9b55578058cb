#include "core/WinampRemote.h"

namespace pelorin {

namespace {

using ports::MediaPlayer;

}  // namespace

WinampRemote::WinampRemote(CoreContext& ctx) : ctx_(ctx) {
  ctx_.steps.hiTimer.Bind(HiTimerStep::kMediaPlayer, SubsystemId::Core, [this] { Tick(); });
}

void WinampRemote::Tick() {
  MediaPlayer& player = ctx_.ports.player;
  SharedValues& v = ctx_.values;
  const bool running = player.Find();

  // A position request lives from the tick that first saw it (a new position starts
  // afresh). Its age is measured on the monotonic clock, so that setting the date or
  // time neither drops it at once nor keeps it for ever.
  const std::int64_t now = ctx_.ports.clock.MonotonicMs();
  if (v.PlaylistRequest < 0) {
    trackedRequest_ = -1;
  } else if (v.PlaylistRequest != trackedRequest_) {
    trackedRequest_ = v.PlaylistRequest;
    requestSeenAtMs_ = now;
  }

  if (running) {
    if (PlayRequest) {
      player.Command(MediaPlayer::kPlay);
      PlayRequest = false;
    }
    if (StopRequest) {
      player.Command(MediaPlayer::kStop);
      StopRequest = false;
    }
    const int position = v.PlaylistRequest;
    if (position >= 0) {
      // Select the entry, stop, select it again, then ask where the player stands.
      player.Query(MediaPlayer::kSetPlaylistPosition, position);
      player.Command(MediaPlayer::kStop);
      player.Query(MediaPlayer::kSetPlaylistPosition, position);
      if (player.Query(MediaPlayer::kPlaylistPosition, 0) == position) {
        v.PlaylistRequest = -1;
        trackedRequest_ = -1;
        if (PlayAfterJump) player.Command(MediaPlayer::kPlay);
        PlayAfterJump = false;
        return;
      }
    }
  }

  // A player that never confirms the position (or never appears) does not get the
  // request sent five times a second for ever: it is dropped after its lifetime.
  if (v.PlaylistRequest >= 0 && now - requestSeenAtMs_ >= kPositionRequestLifetimeMs) {
    v.PlaylistRequest = -1;
    PlayAfterJump = false;
    trackedRequest_ = -1;
  }
}

bool WinampRemote::Running() const {
  return ctx_.ports.player.Running();
}

}  // namespace pelorin
