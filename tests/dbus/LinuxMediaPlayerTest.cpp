#include "linux/LinuxMediaPlayer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "sim/SimLog.h"
#include "support/ProcessEventsUntil.h"

namespace pelorin::lnx {
namespace {

using ports::MediaPlayer;

using testing::ProcessEventsUntil;

// The scripted MPRIS player (fake_mpris_player.py) as a child process: the calls it
// got, and commands to it.
class FakePlayer {
 public:
  explicit FakePlayer(const QString& name, const QStringList& options = {}) {
    process_.setProgram(QStringLiteral(PELORIN_TEST_PYTHON));
    process_.setArguments(
        QStringList{"-u", PELORIN_SOURCE_DIR "/tests/dbus/fake_mpris_player.py", name} + options);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
      while (process_.canReadLine()) {
        const QString line = QString::fromUtf8(process_.readLine()).trimmed();
        if (line == QLatin1String("ready")) {
          ready_ = true;
        } else {
          calls_.push_back(line);
        }
      }
    });
    process_.start();
    started_ = ProcessEventsUntil([this] { return ready_; });
  }
  ~FakePlayer() { Quit(); }

  bool Started() const { return started_; }
  const QStringList& Calls() const { return calls_; }
  bool WaitForCalls(qsizetype count) {
    return ProcessEventsUntil([&] { return calls_.size() >= count; });
  }
  void Send(const QString& line) { process_.write((line + "\n").toUtf8()); }
  void Quit() {
    if (process_.state() == QProcess::NotRunning) return;
    Send("quit");
    if (!process_.waitForFinished(5000)) process_.kill();
  }

 private:
  QProcess process_;
  QStringList calls_;
  bool ready_ = false;
  bool started_ = false;
};

class LinuxMediaPlayerTest : public ::testing::Test {
 protected:
  // The player's steady clock stands still unless a test moves it, so polls and the
  // extrapolated position are under the test's control.
  std::int64_t nowMs = 1'000'000;
  sim::SimLog backendLog;
  LinuxMediaPlayer player{backendLog, QDBusConnection::sessionBus(), [this] { return nowMs; }};

  bool WaitForPlayer(const QString& name) {
    return ProcessEventsUntil([&] { return player.Find() && player.CurrentPlayer() == name; });
  }
};

TEST_F(LinuxMediaPlayerTest, CommandsReachThePlayerAsMprisCalls) {
  FakePlayer fake("commands");
  ASSERT_TRUE(fake.Started());
  ASSERT_TRUE(WaitForPlayer("org.mpris.MediaPlayer2.commands"));

  for (const int command : {MediaPlayer::kPlay, MediaPlayer::kPause, MediaPlayer::kStop,
                            MediaPlayer::kPrevious, MediaPlayer::kNext, MediaPlayer::kForward,
                            MediaPlayer::kBack, MediaPlayer::kFadeOutStop, 40999}) {
    player.Command(command);
  }
  player.BringToFront();
  ASSERT_TRUE(fake.WaitForCalls(9));
  EXPECT_EQ(fake.Calls(), (QStringList{"Play", "PlayPause", "Stop", "Previous", "Next",
                                       "Seek 5000000", "Seek -5000000", "Stop", "Raise"}));
}

TEST_F(LinuxMediaPlayerTest, QueriesAnswerFromTheStateThePlayerAnnounces) {
  FakePlayer fake("queries",
                  {"--status", "Playing", "--position-us", "10000000", "--length-us", "180500000"});
  ASSERT_TRUE(fake.Started());
  ASSERT_TRUE(WaitForPlayer("org.mpris.MediaPlayer2.queries"));
  ASSERT_TRUE(ProcessEventsUntil([&] { return player.Query(MediaPlayer::kTrackTime, 1) == 180; }));
  EXPECT_EQ(player.Query(MediaPlayer::kPlayState, 0), 1);
  EXPECT_EQ(player.Query(MediaPlayer::kTrackTime, 0), 10'000);
  // While playing, the position moves on with the time since it was read.
  nowMs += 1'500;
  EXPECT_EQ(player.Query(MediaPlayer::kTrackTime, 0), 11'500);

  // Changes come with the player's signals, without a poll (the clock stands still).
  fake.Send("status Paused");
  ASSERT_TRUE(ProcessEventsUntil([&] { return player.Query(MediaPlayer::kPlayState, 0) == 3; }));
  nowMs += 5'000;
  EXPECT_EQ(player.Query(MediaPlayer::kTrackTime, 0), 11'500);
  fake.Send("seeked 42000000");
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return player.Query(MediaPlayer::kTrackTime, 0) == 42'000; }));
  fake.Send("status Stopped");
  ASSERT_TRUE(ProcessEventsUntil([&] { return player.Query(MediaPlayer::kPlayState, 0) == 0; }));
  // A position never runs past the track's end.
  fake.Send("seeked 900000000");
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return player.Query(MediaPlayer::kTrackTime, 0) == 180'500; }));
}

TEST_F(LinuxMediaPlayerTest, PlaylistPositionsGoThroughTheTrackList) {
  FakePlayer fake("tracks", {"--tracks", "3", "--current", "1"});
  ASSERT_TRUE(fake.Started());
  ASSERT_TRUE(WaitForPlayer("org.mpris.MediaPlayer2.tracks"));
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return player.Query(MediaPlayer::kPlaylistPosition, 0) == 1; }));
  player.Query(MediaPlayer::kSetPlaylistPosition, 2);
  ASSERT_TRUE(fake.WaitForCalls(1));
  EXPECT_EQ(fake.Calls().front(), "GoTo /org/pelorin/track/2");
  // The new position is confirmed once the player announces its new current track.
  EXPECT_TRUE(
      ProcessEventsUntil([&] { return player.Query(MediaPlayer::kPlaylistPosition, 0) == 2; }));

  const qsizetype before = fake.Calls().size();
  player.Query(MediaPlayer::kSetPlaylistPosition, 3);  // no such track: nothing is sent
  player.Query(MediaPlayer::kClearPlaylist, 0);
  ASSERT_TRUE(fake.WaitForCalls(before + 3));
  EXPECT_EQ(fake.Calls().mid(before),
            (QStringList{"RemoveTrack /org/pelorin/track/0", "RemoveTrack /org/pelorin/track/1",
                         "RemoveTrack /org/pelorin/track/2"}));
  // The emptied list no longer holds the current track: it has no position, not 0.
  EXPECT_TRUE(ProcessEventsUntil([&] {
    return player.Query(MediaPlayer::kPlaylistPosition, 0) == MediaPlayer::kNotInPlaylist;
  }));
}

TEST_F(LinuxMediaPlayerTest, APlayerWithoutATrackListAnswersPositionZeroAndIgnoresSettings) {
  FakePlayer fake("plain", {"--no-tracklist"});
  ASSERT_TRUE(fake.Started());
  ASSERT_TRUE(WaitForPlayer("org.mpris.MediaPlayer2.plain"));
  ASSERT_TRUE(ProcessEventsUntil([&] { return player.Query(MediaPlayer::kTrackTime, 1) == 180; }));
  player.Query(MediaPlayer::kSetPlaylistPosition, 1);
  player.Query(MediaPlayer::kClearPlaylist, 0);
  player.Command(MediaPlayer::kPlay);
  // Calls arrive in the order they were sent: Play first means nothing went before it.
  ASSERT_TRUE(fake.WaitForCalls(1));
  EXPECT_EQ(fake.Calls().front(), "Play");
  EXPECT_EQ(player.Query(MediaPlayer::kPlaylistPosition, 0), 0);
}

TEST_F(LinuxMediaPlayerTest, APlayingPlayerIsPreferredAndOneThatLeftIsNotRunning) {
  auto first = std::make_unique<FakePlayer>("a");
  auto second = std::make_unique<FakePlayer>("b", QStringList{"--status", "Playing"});
  ASSERT_TRUE(first->Started() && second->Started());
  ASSERT_TRUE(WaitForPlayer("org.mpris.MediaPlayer2.b"));
  player.Command(MediaPlayer::kStop);
  ASSERT_TRUE(second->WaitForCalls(1));
  EXPECT_EQ(second->Calls(), QStringList{"Stop"});

  second.reset();
  ASSERT_TRUE(WaitForPlayer("org.mpris.MediaPlayer2.a"));
  first.reset();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !player.Find(); }));
  EXPECT_FALSE(player.Running());
  EXPECT_EQ(player.Query(MediaPlayer::kPlayState, 0), 0);
  player.Command(MediaPlayer::kPlay);  // goes nowhere, harmlessly
}

TEST_F(LinuxMediaPlayerTest, APlayerThatWasThereBeforeIsFoundToo) {
  FakePlayer fake("early");
  ASSERT_TRUE(fake.Started());
  LinuxMediaPlayer later(backendLog, QDBusConnection::sessionBus(), [this] { return nowMs; });
  EXPECT_TRUE(ProcessEventsUntil([&] { return later.Find(); }));
  EXPECT_EQ(later.CurrentPlayer(), "org.mpris.MediaPlayer2.early");
}

}  // namespace
}  // namespace pelorin::lnx
