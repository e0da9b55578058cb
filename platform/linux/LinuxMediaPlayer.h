#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "ports/Log.h"
#include "ports/MediaPlayer.h"

class QDBusMessage;

namespace pelorin::lnx {

// The outside media player as any MPRIS2 player on the session bus
// (org.mpris.MediaPlayer2.*). Nothing here waits for the bus: commands go out as
// asynchronous calls, and queries answer from a cache of each player's state that
// its PropertiesChanged and Seeked signals keep current, refreshed by a GetAll poll
// when Find runs (at most once a second). The list of players follows the bus's
// NameOwnerChanged signals after an initial ListNames; a player that has left the
// bus is not running from the next Find on. Answers therefore come after the event
// loop has run: right after construction Find knows no player yet.
//
// Find chooses the player that is playing, the one found last while it plays or else
// the first by bus name; without a playing one, the one found last while it is still
// there, else the first by bus name.
//
// Commands: Play, PlayPause (pause, or resume when paused), Stop (also for "fade out
// and stop", which MPRIS has not), Previous, Next, and Seek by +5 s or -5 s to wind.
// Queries: 104 the play state from PlaybackStatus; 105 with 0 the position in ms
// (Position is reported in microseconds and, while playing, moved on by the time
// since it was read), with 1 the track's length in s (mpris:length); 120 the index of
// the current track in the player's TrackList, kNotInPlaylist when the track is not in
// it (or the list has not arrived yet), and 0 (the only entry it can tell of) for a
// player without a track list; 121 GoTo that track when there is a track list, else
// nothing; 101 removes every track where the track list can be edited, else nothing.
//
// A call that a player answers with an error is one line of the log (source "mpris"):
// the player, the call and the D-Bus error. A call that keeps failing (a poll, say) is
// logged when it begins to fail and again only after it has once succeeded.
class LinuxMediaPlayer : public QObject, public ports::MediaPlayer {
  Q_OBJECT

 public:
  // Milliseconds of a steady clock; the default reads std::chrono::steady_clock.
  using SteadyClock = std::function<std::int64_t()>;

  explicit LinuxMediaPlayer(ports::Log& log, QDBusConnection bus = QDBusConnection::sessionBus(),
                            SteadyClock steadyMs = {}, QObject* parent = nullptr);

  bool Find() override;
  bool Running() const override { return !current_.isEmpty(); }
  void Command(int command) override;
  int Query(int request, int parameter) override;
  void BringToFront() override;

  // The bus name of the player the last Find chose; empty without one.
  const QString& CurrentPlayer() const { return current_; }

 private Q_SLOTS:
  void OnNameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
  void OnPropertiesChanged(const QDBusMessage& message);
  void OnSeeked(const QDBusMessage& message);
  void OnTrackListChanged(const QDBusMessage& message);

 private:
  struct PlayerState {
    QString owner;  // the unique bus name, which the player's signals come from
    QString playbackStatus;
    std::int64_t positionUs = 0;
    std::int64_t positionReadMs = 0;  // steady time of the last reading of the position
    double rate = 1.0;
    std::int64_t lengthUs = 0;
    QString trackId;
    bool hasTrackList = false;
    bool canEditTracks = false;
    QStringList tracks;
    bool pollPending = false;
  };

  void Discover(const QString& name, const QString& owner);
  void Poll(const QString& name);
  void RequestTrackList(const QString& name);
  // Sends a call without waiting for it; `onAnswer`, when given, later gets the reply's
  // arguments, or nullptr when the call failed or timed out.
  void Send(const QDBusMessage& message,
            std::function<void(const QVariantList* reply)> onAnswer = {});
  // Logs a player's error answer to `call` when that call did not fail last time.
  void NoteAnswer(const QDBusMessage& call, const QDBusMessage& reply);
  void ApplyPlayerProperties(PlayerState& state, const QVariantMap& properties);
  void ApplyTrackListProperties(PlayerState& state, const QVariantMap& properties);
  // The bus names of the players whose signals come from the message's sender.
  std::vector<QString> NamesOfSender(const QDBusMessage& message) const;
  std::int64_t PositionUsNow(const PlayerState& state) const;
  PlayerState* Current();

  ports::Log& log_;
  QDBusConnection bus_;
  SteadyClock steadyMs_;
  std::set<QString> failingCalls_;          // "player interface.method", failed at their last call
  std::map<QString, PlayerState> players_;  // by well-known bus name
  QString current_;
  std::int64_t lastPollMs_ = 0;
};

}  // namespace pelorin::lnx
