#include "sim/SimMediaPlayer.h"

#include <algorithm>

namespace pelorin::sim {

namespace {
constexpr int kWindStepMs = 5000;
}  // namespace

bool SimMediaPlayer::Find() {
  found_ = running;
  return found_;
}

void SimMediaPlayer::StartEntry(int entry) {
  playlistPosition = entry;
  positionMs = 0;
}

void SimMediaPlayer::Command(int command) {
  if (!Reachable()) return;
  commands.push_back(command);
  switch (command) {
    case kPlay:  // resumes when paused, else (re)starts the current entry
      if (playState == kPaused) {
        playState = kPlaying;
      } else if (playlistLength > 0) {
        positionMs = 0;
        playState = kPlaying;
      }
      break;
    case kPause:
      if (playState == kPlaying) {
        playState = kPaused;
      } else if (playState == kPaused) {
        playState = kPlaying;
      }
      break;
    case kStop:
    case kFadeOutStop:
      playState = kStopped;
      positionMs = 0;
      break;
    case kNext:
      if (playlistPosition + 1 < playlistLength) StartEntry(playlistPosition + 1);
      break;
    case kPrevious:
      if (playlistPosition > 0 && playlistLength > 0) StartEntry(playlistPosition - 1);
      break;
    case kForward:
      if (playState != kStopped)
        positionMs = std::min(positionMs + kWindStepMs, lengthSeconds * 1000);
      break;
    case kBack:
      if (playState != kStopped) positionMs = std::max(positionMs - kWindStepMs, 0);
      break;
    default:
      break;
  }
}

int SimMediaPlayer::PlaylistPositionAnswer() {
  if (!hasTrackList) return 0;
  if (pendingPosition_ >= 0) {
    if (pendingQueries_ > 0) {
      --pendingQueries_;
      return playlistPosition;
    }
    StartEntry(pendingPosition_);
    pendingPosition_ = -1;
  }
  return playlistPosition >= 0 && playlistPosition < playlistLength ? playlistPosition
                                                                    : kNotInPlaylist;
}

int SimMediaPlayer::Query(int request, int parameter) {
  if (!Reachable()) return 0;
  requests.push_back({request, parameter});
  switch (request) {
    case kClearPlaylist:
      playlistLength = 0;
      playlistPosition = 0;
      pendingPosition_ = -1;
      return 0;
    case kPlayState:
      return playState;
    case kTrackTime:
      if (parameter == 0) return positionMs;
      if (parameter == 1) return lengthSeconds;
      return 0;
    case kPlaylistPosition:
      return PlaylistPositionAnswer();
    case kSetPlaylistPosition:
      if (hasTrackList && parameter >= 0 && parameter < playlistLength) {
        if (positionSettingDelay > 0) {
          // Asking again for the position already on its way does not delay it more.
          if (pendingPosition_ != parameter) pendingQueries_ = positionSettingDelay;
          pendingPosition_ = parameter;
        } else {
          StartEntry(parameter);
          pendingPosition_ = -1;
        }
      }
      return 0;
    default:
      return 0;
  }
}

void SimMediaPlayer::BringToFront() {
  if (Reachable()) ++raised;
}

void SimMediaPlayer::Advance(int milliseconds) {
  while (playState == kPlaying && milliseconds > 0) {
    const int remaining = lengthSeconds * 1000 - positionMs;
    if (lengthSeconds <= 0 || milliseconds < remaining) {
      positionMs += milliseconds;
      return;
    }
    milliseconds -= remaining;
    if (playlistPosition + 1 < playlistLength) {
      StartEntry(playlistPosition + 1);
    } else {
      playState = kStopped;
      positionMs = 0;
    }
  }
}

}  // namespace pelorin::sim
