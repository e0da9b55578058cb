#include "linux/InstanceChannel.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "linux/ChannelRecord.h"
#include "linux/PeerCredentials.h"

namespace fs = std::filesystem;

namespace pelorin::lnx {
namespace {

constexpr char kAnsweredProperty[] = "pelorinAnswered";

QString ToQString(const fs::path& path) {
  return QString::fromStdString(path.string());
}

// The line without its "\n" or "\r\n".
std::string WithoutLineEnd(QByteArray line) {
  while (line.endsWith('\n') || line.endsWith('\r'))
    line.chop(1);
  return line.toStdString();
}

// Where the suite of these paths listens: where its record says, else where a suite of
// this environment would.
fs::path ChannelOf(const InstancePaths& paths) {
  if (const auto record = ReadChannelRecord(paths.LockFile())) return record->socket;
  return paths.SuiteSocket();
}

// Why a client could not connect, in words for the user.
std::string ConnectFailure(const QLocalSocket& socket, const fs::path& socketFile) {
  switch (socket.error()) {
    case QLocalSocket::ServerNotFoundError:
      return "no channel at " + socketFile.string();
    case QLocalSocket::ConnectionRefusedError:
      return "nothing listens on " + socketFile.string();
    default:
      return socketFile.string() + ": " + socket.errorString().toStdString();
  }
}

}  // namespace

InstanceChannel::InstanceChannel(InstanceLock& lock, Handler handler)
    : lock_(lock), handler_(std::move(handler)) {}

InstanceChannel::~InstanceChannel() {
  if (!Listening()) return;
  server_->close();  // removes the socket file
  lock_.ClearRecord();
}

bool InstanceChannel::Listen() {
  error_.clear();
  if (!lock_.Held()) {
    error_ = "the command channel is opened by the home's running suite only";
    return false;
  }
  if (Listening()) return true;
  const InstancePaths& paths = lock_.Paths();
  const fs::path socketFile = paths.SuiteSocket();
  // The lock is ours, so a socket file there is a crashed suite's leftover.
  QLocalServer::removeServer(ToQString(socketFile));
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [this] { Accept(); });
  if (!server_->listen(ToQString(socketFile))) {
    error_ = "cannot open the command channel " + socketFile.string() + ": " +
             server_->errorString().toStdString();
    server_.reset();
    return false;
  }
  // The folder is the user's alone already; the socket itself is too.
  if (::chmod(socketFile.c_str(), 0600) != 0) {
    error_ =
        "cannot restrict the command channel " + socketFile.string() + ": " + std::strerror(errno);
  } else {
    error_ = lock_.WriteRecord({::getpid(), socketFile});
  }
  if (!error_.empty()) {
    server_->close();
    server_.reset();
    return false;
  }
  return true;
}

bool InstanceChannel::Listening() const {
  return server_ && server_->isListening();
}

void InstanceChannel::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    const int fd = static_cast<int>(socket->socketDescriptor());
    if (!PeerIsThisUser(fd)) {
      const auto uid = PeerUid(fd);
      std::cerr << "pelorin: refused a connection to the command channel from "
                << (uid ? "uid " + std::to_string(*uid) : std::string("an unknown process"))
                << "\n";
      socket->abort();
      socket->deleteLater();
      continue;
    }
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Answer(socket); });
    QTimer::singleShot(kLineTimeoutMs, socket, [socket] {
      if (!socket->property(kAnsweredProperty).toBool()) socket->abort();
    });
    if (socket->bytesAvailable() > 0) Answer(socket);
  }
}

void InstanceChannel::Answer(QLocalSocket* socket) {
  if (socket->property(kAnsweredProperty).toBool()) {
    socket->readAll();  // one line per connection: the rest is not read
    return;
  }
  if (!socket->canReadLine()) {
    if (socket->bytesAvailable() > kMaxLineBytes) socket->abort();
    return;
  }
  const QByteArray line = socket->readLine(kMaxLineBytes + 2);
  if (!line.endsWith('\n')) {
    socket->abort();
    return;
  }
  socket->setProperty(kAnsweredProperty, true);
  // The handler may run a nested event loop (a dialog), during which the client may
  // go away.
  QPointer<QLocalSocket> guard(socket);
  std::string reply = handler_ ? handler_(WithoutLineEnd(line)) : std::string();
  if (guard.isNull() || guard->state() != QLocalSocket::ConnectedState) return;
  for (char& c : reply) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  reply += '\n';
  guard->write(reply.data(), static_cast<qint64>(reply.size()));
  guard->disconnectFromServer();  // after the reply has been written
}

InstanceChannel::SendResult InstanceChannel::Send(const InstancePaths& paths,
                                                  const std::string& line, int timeoutMs) {
  if (line.find_first_of("\r\n") != std::string::npos) {
    return {std::nullopt, "a line break cannot be sent"};
  }
  const fs::path socketFile = ChannelOf(paths);
  const std::string where = "the suite of " + paths.home.string();
  const QDeadlineTimer deadline(std::max(0, timeoutMs));
  QLocalSocket socket;
  socket.connectToServer(ToQString(socketFile));
  if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
    const std::string why = " (" + ConnectFailure(socket, socketFile) + ")";
    if (InstanceLock::TakenNow(paths)) {
      return {std::nullopt,
              where + " runs but takes no commands: its channel is not open" + " (yet)" + why};
    }
    return {std::nullopt, "no suite runs on " + paths.home.string() + why};
  }
  const int fd = static_cast<int>(socket.socketDescriptor());
  if (!PeerIsThisUser(fd)) {
    const auto uid = PeerUid(fd);
    socket.abort();
    return {std::nullopt, "the command channel " + socketFile.string() +
                              " belongs to another user" +
                              (uid ? " (uid " + std::to_string(*uid) + ")" : std::string()) +
                              ": nothing was sent"};
  }
  const std::string request = line + "\n";
  socket.write(request.data(), static_cast<qint64>(request.size()));
  const SendResult silent{std::nullopt, where + " did not answer on " + socketFile.string()};
  if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return silent;
  while (!socket.canReadLine()) {
    if (deadline.hasExpired() || socket.bytesAvailable() > InstanceChannel::kMaxLineBytes) {
      return silent;
    }
    if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      // The suite may have answered and hung up in one go.
      if (socket.canReadLine()) break;
      return silent;
    }
  }
  return {WithoutLineEnd(socket.readLine(InstanceChannel::kMaxLineBytes + 2)), {}};
}

}  // namespace pelorin::lnx
