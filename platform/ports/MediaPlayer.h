#pragma once

namespace pelorin::ports {

// The outside media player that the suite commands (the Winamp remote interface).
// Commands and queries use the Winamp numbers; a backend maps them onto its player.
// Nothing here may block the user interface: queries answer from what the backend
// knows now.
class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // Command numbers (WM_COMMAND wParam).
  static constexpr int kPrevious = 40044;
  static constexpr int kPlay = 40045;
  static constexpr int kPause = 40046;  // pause, or resume when paused
  static constexpr int kStop = 40047;
  static constexpr int kNext = 40048;
  static constexpr int kForward = 40060;
  static constexpr int kBack = 40061;
  static constexpr int kFadeOutStop = 40147;
  // Query and setting numbers (WM_USER lParam).
  static constexpr int kClearPlaylist = 101;
  static constexpr int kPlayState = 104;         // 0 stopped, 1 playing, 3 paused
  static constexpr int kTrackTime = 105;         // wParam 0: position in ms; 1: length in s
  static constexpr int kPlaylistPosition = 120;  // kNotInPlaylist when it has none
  static constexpr int kSetPlaylistPosition = 121;

  // The answer to 120 when the current track is not an entry of the player's playlist
  // (an emptied list, a file played from outside it, a list not known yet): no entry
  // position, so that no caller takes it for the first entry.
  static constexpr int kNotInPlaylist = -1;

  // Looks for the player again (done on every 200 ms tick); true when one runs.
  virtual bool Find() = 0;
  // Whether the last Find found a player.
  virtual bool Running() const = 0;
  // Posts a command to the player found last; ignored without one.
  virtual void Command(int command) = 0;
  // A query or setting; 0 when no player runs or it cannot answer.
  virtual int Query(int request, int parameter) = 0;
  // Brings the player's window to the front.
  virtual void BringToFront() = 0;
};

}  // namespace pelorin::ports
