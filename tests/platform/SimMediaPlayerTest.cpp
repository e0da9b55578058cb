#include "sim/SimMediaPlayer.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelorin::sim {
namespace {

using ports::MediaPlayer;

class SimMediaPlayerTest : public ::testing::Test {
 protected:
  SimMediaPlayerTest() {
    player.running = true;
    player.playlistLength = 3;
    player.lengthSeconds = 60;
    player.Find();
  }
  SimMediaPlayer player;
};

TEST_F(SimMediaPlayerTest, NothingReachesAPlayerThatIsNotFound) {
  SimMediaPlayer absent;
  absent.playlistLength = 3;
  EXPECT_FALSE(absent.Find());
  absent.Command(MediaPlayer::kPlay);
  absent.BringToFront();
  EXPECT_EQ(absent.Query(MediaPlayer::kPlayState, 0), 0);
  EXPECT_TRUE(absent.commands.empty());
  EXPECT_TRUE(absent.requests.empty());
  EXPECT_EQ(absent.raised, 0);

  // A player that quit after the last Find is gone too, though Running still says yes.
  player.running = false;
  EXPECT_TRUE(player.Running());
  player.Command(MediaPlayer::kPlay);
  EXPECT_EQ(player.playState, SimMediaPlayer::kStopped);
  EXPECT_FALSE(player.Find());
}

TEST_F(SimMediaPlayerTest, CommandsActOnThePlayStateAndAreRecorded) {
  const struct {
    int command;
    int state;
    int positionMs;
    int entry;
  } steps[] = {
      {MediaPlayer::kPause, SimMediaPlayer::kStopped, 0, 0},  // pause while stopped: nothing
      {MediaPlayer::kPlay, SimMediaPlayer::kPlaying, 0, 0},
      {MediaPlayer::kForward, SimMediaPlayer::kPlaying, 5000, 0},
      {MediaPlayer::kPause, SimMediaPlayer::kPaused, 5000, 0},
      {MediaPlayer::kPlay, SimMediaPlayer::kPlaying, 5000, 0},  // resumes
      {MediaPlayer::kPlay, SimMediaPlayer::kPlaying, 0, 0},     // restarts
      {MediaPlayer::kBack, SimMediaPlayer::kPlaying, 0, 0},
      {MediaPlayer::kNext, SimMediaPlayer::kPlaying, 0, 1},
      {MediaPlayer::kNext, SimMediaPlayer::kPlaying, 0, 2},
      {MediaPlayer::kNext, SimMediaPlayer::kPlaying, 0, 2},  // the last entry stays
      {MediaPlayer::kPrevious, SimMediaPlayer::kPlaying, 0, 1},
      {MediaPlayer::kFadeOutStop, SimMediaPlayer::kStopped, 0, 1},
  };
  std::vector<int> sent;
  for (const auto& step : steps) {
    player.Command(step.command);
    sent.push_back(step.command);
    EXPECT_EQ(player.Query(MediaPlayer::kPlayState, 0), step.state) << step.command;
    EXPECT_EQ(player.Query(MediaPlayer::kTrackTime, 0), step.positionMs) << step.command;
    EXPECT_EQ(player.playlistPosition, step.entry) << step.command;
  }
  EXPECT_EQ(player.commands, sent);
  EXPECT_EQ(player.Query(MediaPlayer::kTrackTime, 1), 60);
}

TEST_F(SimMediaPlayerTest, PlayingRunsThroughThePlaylistWithTime) {
  player.Command(MediaPlayer::kPlay);
  player.Advance(59'000);
  EXPECT_EQ(player.positionMs, 59'000);
  player.Advance(30'000);  // the last second of entry 0, then 29 s of entry 1
  EXPECT_EQ(player.playlistPosition, 1);
  EXPECT_EQ(player.positionMs, 29'000);
  player.Advance(200'000);  // past the end of the last entry
  EXPECT_EQ(player.playState, SimMediaPlayer::kStopped);
  EXPECT_EQ(player.playlistPosition, 2);

  SimMediaPlayer empty;
  empty.running = true;
  empty.Find();
  empty.Command(MediaPlayer::kPlay);  // nothing to play
  EXPECT_EQ(empty.playState, SimMediaPlayer::kStopped);
}

TEST_F(SimMediaPlayerTest, PlaylistPositionSettingsAreConfirmedAfterTheGivenQueries) {
  player.positionSettingDelay = 2;
  player.Query(MediaPlayer::kSetPlaylistPosition, 2);
  EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), 0);
  EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), 0);
  EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), 2);

  player.positionSettingDelay = 0;
  player.Query(MediaPlayer::kSetPlaylistPosition, 1);
  EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), 1);
  player.Query(MediaPlayer::kSetPlaylistPosition, 3);  // no such entry
  player.Query(MediaPlayer::kSetPlaylistPosition, -1);
  EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), 1);

  // A current track outside the playlist has no position.
  player.playlistPosition = -1;
  EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), MediaPlayer::kNotInPlaylist);
  player.playlistPosition = 1;
  player.Query(MediaPlayer::kClearPlaylist, 0);
  EXPECT_EQ(player.playlistLength, 0);
  EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), MediaPlayer::kNotInPlaylist);
  EXPECT_EQ(player.requests.front(),
            (SimMediaPlayer::Request{MediaPlayer::kSetPlaylistPosition, 2}));
}

TEST_F(SimMediaPlayerTest, APlayerWithoutATrackListNeverConfirmsAPosition) {
  player.hasTrackList = false;
  player.playlistPosition = 1;
  player.Query(MediaPlayer::kSetPlaylistPosition, 2);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), 0);
  EXPECT_EQ(player.playlistPosition, 1);
}

}  // namespace
}  // namespace pelorin::sim
