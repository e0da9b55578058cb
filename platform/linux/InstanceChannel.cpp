#include "linux/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <algorithm>

namespace pelorin::lnx {
namespace {

constexpr char kAnsweredProperty[] = "pelorinAnswered";

QString SocketName(const InstancePaths& paths) {
  return QString::fromStdString(paths.SuiteSocket().string());
}

// The line without its "\n" or "\r\n".
std::string WithoutLineEnd(QByteArray line) {
  while (line.endsWith('\n') || line.endsWith('\r'))
    line.chop(1);
  return line.toStdString();
}

}  // namespace

InstanceChannel::InstanceChannel(const InstanceLock& lock, Handler handler)
    : lock_(lock), handler_(std::move(handler)) {}

InstanceChannel::~InstanceChannel() {
  if (server_) server_->close();  // removes the socket file
}

bool InstanceChannel::Listen() {
  if (!lock_.Held()) return false;
  if (Listening()) return true;
  const QString name = SocketName(lock_.Paths());
  // The lock is ours, so a socket file there is a crashed suite's leftover.
  QLocalServer::removeServer(name);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [this] { Accept(); });
  if (!server_->listen(name)) {
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

std::optional<std::string> InstanceChannel::Send(const InstancePaths& paths,
                                                 const std::string& line, int timeoutMs) {
  if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
  const QDeadlineTimer deadline(std::max(0, timeoutMs));
  QLocalSocket socket;
  socket.connectToServer(SocketName(paths));
  if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return std::nullopt;
  const std::string request = line + "\n";
  socket.write(request.data(), static_cast<qint64>(request.size()));
  if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return std::nullopt;
  while (!socket.canReadLine()) {
    if (deadline.hasExpired() || socket.bytesAvailable() > InstanceChannel::kMaxLineBytes) {
      return std::nullopt;
    }
    if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      // The suite may have answered and hung up in one go.
      if (socket.canReadLine()) break;
      return std::nullopt;
    }
  }
  return WithoutLineEnd(socket.readLine(InstanceChannel::kMaxLineBytes + 2));
}

}  // namespace pelorin::lnx
