#pragma once

#include <vector>

#include "ports/MediaPlayer.h"

namespace pelorin::sim {

// A media player whose state tests set and read: running or not, a playlist of
// `playlistLength` entries with the current one, the play state, the position in the
// current track and its length. Commands and queries reach it only while it runs and
// a Find has found it, as messages reach a player window; each one that reaches it is
// recorded and acts on the state as the player would.
//
// A setting of the playlist position (121) can be answered late: the player keeps
// answering the old position to the next `positionSettingDelay` position queries (120)
// and only then the new one. A player without a track list (`hasTrackList` false)
// never takes such a setting and answers 0 to every position query, as a player that
// cannot tell where it is. With a track list, a current entry outside the playlist (an
// empty playlist, or `playlistPosition` -1 for a file played from elsewhere) is
// answered with kNotInPlaylist.
class SimMediaPlayer : public ports::MediaPlayer {
 public:
  static constexpr int kStopped = 0;
  static constexpr int kPlaying = 1;
  static constexpr int kPaused = 3;

  struct Request {
    int request, parameter;
    friend bool operator==(const Request&, const Request&) = default;
  };

  bool Find() override;
  bool Running() const override { return found_; }
  void Command(int command) override;
  int Query(int request, int parameter) override;
  void BringToFront() override;

  // Lets virtual time pass: while playing, the position moves on; at the end of a track
  // the next entry starts, and after the last one the player stops.
  void Advance(int milliseconds);

  // The player's state.
  bool running = false;
  int playlistLength = 0;
  int playlistPosition = 0;  // the current entry, counted from 0; -1: not in the playlist
  int playState = kStopped;
  int positionMs = 0;
  int lengthSeconds = 0;
  bool hasTrackList = true;
  int positionSettingDelay = 0;

  // What reached the player.
  std::vector<int> commands;
  std::vector<Request> requests;
  int raised = 0;

 private:
  bool Reachable() const { return found_ && running; }
  void StartEntry(int entry);
  int PlaylistPositionAnswer();

  bool found_ = false;
  int pendingPosition_ = -1;  // a position setting not yet confirmed
  int pendingQueries_ = 0;    // position queries still answered with the old position
};

}  // namespace pelorin::sim
