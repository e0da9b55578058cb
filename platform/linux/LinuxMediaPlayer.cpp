#include "linux/LinuxMediaPlayer.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QList>
#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>

namespace pelorin::lnx {
namespace {

const QString kNamePrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kTrackListInterface = QStringLiteral("org.mpris.MediaPlayer2.TrackList");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");

constexpr std::int64_t kPollIntervalMs = 1000;
constexpr std::int64_t kWindStepUs = 5'000'000;
// A player that does not answer within this time is asked again at a later poll.
constexpr int kCallTimeoutMs = 2000;

std::int64_t SteadyNowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// A dictionary of the bus (a{sv}), whether it came demarshalled or still as an argument.
QVariantMap ToMap(const QVariant& value) {
  if (value.userType() == qMetaTypeId<QDBusArgument>()) {
    return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
  }
  return value.toMap();
}

// An object path, which some players send as a plain string.
QString ToPath(const QVariant& value) {
  if (value.userType() == qMetaTypeId<QDBusObjectPath>()) {
    return value.value<QDBusObjectPath>().path();
  }
  return value.toString();
}

QStringList ToPaths(const QVariant& value) {
  QStringList paths;
  if (value.userType() == qMetaTypeId<QDBusArgument>()) {
    for (const QDBusObjectPath& path :
         qdbus_cast<QList<QDBusObjectPath>>(value.value<QDBusArgument>())) {
      paths.push_back(path.path());
    }
    return paths;
  }
  if (value.userType() == qMetaTypeId<QList<QDBusObjectPath>>()) {
    for (const QDBusObjectPath& path : value.value<QList<QDBusObjectPath>>())
      paths.push_back(path.path());
    return paths;
  }
  return value.toStringList();
}

QDBusMessage BusCall(const QString& method, const QVariantList& arguments) {
  QDBusMessage message = QDBusMessage::createMethodCall(kBusService, kBusPath, kBusService, method);
  message.setArguments(arguments);
  return message;
}

QDBusMessage PlayerCall(const QString& name, const QString& interface, const QString& method,
                        const QVariantList& arguments) {
  QDBusMessage message = QDBusMessage::createMethodCall(name, kObjectPath, interface, method);
  message.setArguments(arguments);
  return message;
}

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

LinuxMediaPlayer::LinuxMediaPlayer(ports::Log& log, QDBusConnection bus, SteadyClock steadyMs,
                                   QObject* parent)
    : QObject(parent), log_(log), bus_(std::move(bus)), steadyMs_(std::move(steadyMs)) {
  if (!steadyMs_) steadyMs_ = SteadyNowMs;
  // A player is read when it is discovered; polls follow from a second on.
  lastPollMs_ = steadyMs_();
  bus_.connect(kBusService, kBusPath, kBusService, QStringLiteral("NameOwnerChanged"), this,
               SLOT(OnNameOwnerChanged(QString, QString, QString)));
  // The players' signals, from whichever sender; the sender tells the player.
  bus_.connect(QString(), kObjectPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"),
               this, SLOT(OnPropertiesChanged(QDBusMessage)));
  bus_.connect(QString(), kObjectPath, kPlayerInterface, QStringLiteral("Seeked"), this,
               SLOT(OnSeeked(QDBusMessage)));
  for (const char* signal : {"TrackListReplaced", "TrackAdded", "TrackRemoved"}) {
    bus_.connect(QString(), kObjectPath, kTrackListInterface, QString::fromLatin1(signal), this,
                 SLOT(OnTrackListChanged(QDBusMessage)));
  }

  Send(BusCall(QStringLiteral("ListNames"), {}), [this](const QVariantList* reply) {
    if (reply == nullptr || reply->isEmpty()) return;
    for (const QString& name : reply->front().toStringList()) {
      if (name.startsWith(kNamePrefix) && players_.count(name) == 0) Discover(name, QString());
    }
  });
}

void LinuxMediaPlayer::Send(const QDBusMessage& message,
                            std::function<void(const QVariantList* reply)> onAnswer) {
  QDBusPendingCall call = bus_.asyncCall(message, kCallTimeoutMs);
  auto* watcher = new QDBusPendingCallWatcher(call, this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, message, onAnswer = std::move(onAnswer)](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            NoteAnswer(message, w->reply());
            if (!onAnswer) return;
            if (w->isError()) {
              onAnswer(nullptr);
            } else {
              const QVariantList arguments = w->reply().arguments();
              onAnswer(&arguments);
            }
          });
}

void LinuxMediaPlayer::NoteAnswer(const QDBusMessage& call, const QDBusMessage& reply) {
  // The bus's own answers (a name without an owner: a player that left) are no failure.
  if (call.service() == kBusService) return;
  QString what = call.interface() + QLatin1Char('.') + call.member();
  // Properties calls are told apart by the interface they read.
  if (call.interface() == kPropertiesInterface && !call.arguments().isEmpty()) {
    what += QLatin1Char('(') + call.arguments().front().toString() + QLatin1Char(')');
  }
  const QString key = call.service() + QLatin1Char(' ') + what;
  if (reply.type() != QDBusMessage::ErrorMessage) {
    failingCalls_.erase(key);
    return;
  }
  if (!failingCalls_.insert(key).second) return;
  log_.Write("mpris", call.service().toStdString() + " answered " + what.toStdString() + " with " +
                          reply.errorName().toStdString() + ": " +
                          reply.errorMessage().toStdString());
}

void LinuxMediaPlayer::Discover(const QString& name, const QString& owner) {
  players_[name].owner = owner;
  if (owner.isEmpty()) {
    // Listed by name only: learn the owner, to know its signals. A name that has no
    // owner any more (and has not found a new one meanwhile) is gone.
    Send(BusCall(QStringLiteral("GetNameOwner"), {name}), [this, name](const QVariantList* reply) {
      const auto found = players_.find(name);
      if (found == players_.end() || !found->second.owner.isEmpty()) return;
      if (reply == nullptr || reply->isEmpty()) {
        players_.erase(found);
      } else {
        found->second.owner = reply->front().toString();
      }
    });
  }
  Send(PlayerCall(name, kPropertiesInterface, QStringLiteral("GetAll"), {kRootInterface}),
       [this, name](const QVariantList* reply) {
         const auto found = players_.find(name);
         if (found == players_.end() || reply == nullptr || reply->isEmpty()) return;
         const QVariantMap properties = ToMap(reply->front());
         found->second.hasTrackList = properties.value(QStringLiteral("HasTrackList")).toBool();
         if (found->second.hasTrackList) RequestTrackList(name);
       });
  Poll(name);
}

void LinuxMediaPlayer::Poll(const QString& name) {
  const auto found = players_.find(name);
  if (found == players_.end() || found->second.pollPending) return;
  found->second.pollPending = true;
  Send(PlayerCall(name, kPropertiesInterface, QStringLiteral("GetAll"), {kPlayerInterface}),
       [this, name](const QVariantList* reply) {
         const auto player = players_.find(name);
         if (player == players_.end()) return;
         player->second.pollPending = false;
         if (reply == nullptr || reply->isEmpty()) return;
         ApplyPlayerProperties(player->second, ToMap(reply->front()));
       });
  if (found->second.hasTrackList) RequestTrackList(name);
}

void LinuxMediaPlayer::RequestTrackList(const QString& name) {
  Send(PlayerCall(name, kPropertiesInterface, QStringLiteral("GetAll"), {kTrackListInterface}),
       [this, name](const QVariantList* reply) {
         const auto found = players_.find(name);
         if (found == players_.end() || reply == nullptr || reply->isEmpty()) return;
         ApplyTrackListProperties(found->second, ToMap(reply->front()));
       });
}

std::int64_t LinuxMediaPlayer::PositionUsNow(const PlayerState& state) const {
  std::int64_t position = state.positionUs;
  if (state.playbackStatus == QLatin1String("Playing")) {
    const std::int64_t elapsedMs = std::max<std::int64_t>(0, steadyMs_() - state.positionReadMs);
    position += static_cast<std::int64_t>(static_cast<double>(elapsedMs) * 1000.0 * state.rate);
  }
  if (state.lengthUs > 0) position = std::min(position, state.lengthUs);
  return std::max<std::int64_t>(position, 0);
}

void LinuxMediaPlayer::ApplyPlayerProperties(PlayerState& state, const QVariantMap& properties) {
  const std::int64_t now = steadyMs_();
  // A change of play state or rate starts a new reading from where the player is now.
  const auto restartReading = [&] {
    state.positionUs = PositionUsNow(state);
    state.positionReadMs = now;
  };
  if (const auto status = properties.find(QStringLiteral("PlaybackStatus"));
      status != properties.end()) {
    restartReading();
    state.playbackStatus = status->toString();
  }
  if (const auto rate = properties.find(QStringLiteral("Rate")); rate != properties.end()) {
    restartReading();
    state.rate = rate->toDouble();
  }
  if (const auto metadata = properties.find(QStringLiteral("Metadata"));
      metadata != properties.end()) {
    const QVariantMap fields = ToMap(*metadata);
    const QString trackId = ToPath(fields.value(QStringLiteral("mpris:trackid")));
    state.lengthUs = fields.value(QStringLiteral("mpris:length")).toLongLong();
    if (trackId != state.trackId) {
      // Another track: its position starts from the beginning until the player says more.
      state.trackId = trackId;
      state.positionUs = 0;
      state.positionReadMs = now;
    }
  }
  if (const auto position = properties.find(QStringLiteral("Position"));
      position != properties.end()) {
    state.positionUs = position->toLongLong();
    state.positionReadMs = now;
  }
}

void LinuxMediaPlayer::ApplyTrackListProperties(PlayerState& state, const QVariantMap& properties) {
  if (const auto tracks = properties.find(QStringLiteral("Tracks")); tracks != properties.end()) {
    state.tracks = ToPaths(*tracks);
  }
  if (const auto canEdit = properties.find(QStringLiteral("CanEditTracks"));
      canEdit != properties.end()) {
    state.canEditTracks = canEdit->toBool();
  }
}

std::vector<QString> LinuxMediaPlayer::NamesOfSender(const QDBusMessage& message) const {
  std::vector<QString> names;
  for (const auto& [name, state] : players_) {
    if (!state.owner.isEmpty() && state.owner == message.service()) names.push_back(name);
  }
  return names;
}

void LinuxMediaPlayer::OnNameOwnerChanged(const QString& name, const QString&,
                                          const QString& newOwner) {
  if (!name.startsWith(kNamePrefix)) return;
  const auto known = players_.find(name);
  if (newOwner.isEmpty()) {
    if (known != players_.end()) players_.erase(known);
    return;
  }
  // A player that the name list showed a moment ago only learns its owner here.
  if (known != players_.end() &&
      (known->second.owner.isEmpty() || known->second.owner == newOwner)) {
    known->second.owner = newOwner;
    return;
  }
  if (known != players_.end()) players_.erase(known);  // a new owner is a new player
  Discover(name, newOwner);
}

void LinuxMediaPlayer::OnPropertiesChanged(const QDBusMessage& message) {
  const QVariantList arguments = message.arguments();
  if (arguments.size() < 2) return;
  const QString interface = arguments.at(0).toString();
  const QVariantMap changed = ToMap(arguments.at(1));
  const QStringList invalidated =
      arguments.size() > 2 ? arguments.at(2).toStringList() : QStringList();
  for (const QString& name : NamesOfSender(message)) {
    PlayerState& player = players_[name];
    if (interface == kPlayerInterface) {
      ApplyPlayerProperties(player, changed);
    } else if (interface == kTrackListInterface) {
      ApplyTrackListProperties(player, changed);
      if (invalidated.contains(QStringLiteral("Tracks"))) RequestTrackList(name);
    } else if (interface == kRootInterface && changed.contains(QStringLiteral("HasTrackList"))) {
      player.hasTrackList = changed.value(QStringLiteral("HasTrackList")).toBool();
      if (player.hasTrackList) RequestTrackList(name);
    }
  }
}

void LinuxMediaPlayer::OnSeeked(const QDBusMessage& message) {
  if (message.arguments().isEmpty()) return;
  const std::int64_t position = message.arguments().front().toLongLong();
  for (const QString& name : NamesOfSender(message)) {
    players_[name].positionUs = position;
    players_[name].positionReadMs = steadyMs_();
  }
}

void LinuxMediaPlayer::OnTrackListChanged(const QDBusMessage& message) {
  for (const QString& name : NamesOfSender(message))
    RequestTrackList(name);
}

bool LinuxMediaPlayer::Find() {
  const std::int64_t now = steadyMs_();
  if (now - lastPollMs_ >= kPollIntervalMs) {
    lastPollMs_ = now;
    for (const auto& [name, state] : players_)
      Poll(name);
  }
  const auto playing = [](const PlayerState& s) {
    return s.playbackStatus == QLatin1String("Playing");
  };
  const auto last = players_.find(current_);
  if (last != players_.end() && playing(last->second)) return true;
  const auto firstPlaying = std::find_if(players_.begin(), players_.end(),
                                         [&](const auto& entry) { return playing(entry.second); });
  if (firstPlaying != players_.end()) {
    current_ = firstPlaying->first;
  } else if (last == players_.end()) {
    current_ = players_.empty() ? QString() : players_.begin()->first;
  }
  return Running();
}

LinuxMediaPlayer::PlayerState* LinuxMediaPlayer::Current() {
  const auto found = players_.find(current_);
  return found != players_.end() ? &found->second : nullptr;
}

void LinuxMediaPlayer::Command(int command) {
  if (current_.isEmpty()) return;
  const auto send = [&](const char* method, const QVariantList& arguments = {}) {
    Send(PlayerCall(current_, kPlayerInterface, QString::fromLatin1(method), arguments));
  };
  switch (command) {
    case kPlay:
      send("Play");
      break;
    case kPause:
      send("PlayPause");
      break;
    case kStop:
    case kFadeOutStop:
      send("Stop");
      break;
    case kPrevious:
      send("Previous");
      break;
    case kNext:
      send("Next");
      break;
    case kForward:
      send("Seek", {QVariant::fromValue<qlonglong>(kWindStepUs)});
      break;
    case kBack:
      send("Seek", {QVariant::fromValue<qlonglong>(-kWindStepUs)});
      break;
    default:
      break;
  }
}

int LinuxMediaPlayer::Query(int request, int parameter) {
  PlayerState* state = Current();
  if (state == nullptr) return 0;
  switch (request) {
    case kPlayState:
      if (state->playbackStatus == QLatin1String("Playing")) return 1;
      if (state->playbackStatus == QLatin1String("Paused")) return 3;
      return 0;
    case kTrackTime:
      if (parameter == 0) return ClampToInt(PositionUsNow(*state) / 1000);
      if (parameter == 1) return ClampToInt(state->lengthUs / 1'000'000);
      return 0;
    case kPlaylistPosition: {
      if (!state->hasTrackList) return 0;
      const qsizetype index = state->tracks.indexOf(state->trackId);
      return index < 0 ? kNotInPlaylist : static_cast<int>(index);
    }
    case kSetPlaylistPosition:
      if (state->hasTrackList && parameter >= 0 && parameter < state->tracks.size()) {
        Send(PlayerCall(current_, kTrackListInterface, QStringLiteral("GoTo"),
                        {QVariant::fromValue(QDBusObjectPath(state->tracks.at(parameter)))}));
      }
      return 0;
    case kClearPlaylist:
      if (state->hasTrackList && state->canEditTracks) {
        for (const QString& track : state->tracks) {
          Send(PlayerCall(current_, kTrackListInterface, QStringLiteral("RemoveTrack"),
                          {QVariant::fromValue(QDBusObjectPath(track))}));
        }
      }
      return 0;
    default:
      return 0;
  }
}

void LinuxMediaPlayer::BringToFront() {
  if (!current_.isEmpty()) Send(PlayerCall(current_, kRootInterface, QStringLiteral("Raise"), {}));
}

}  // namespace pelorin::lnx
