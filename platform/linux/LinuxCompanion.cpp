#include "linux/LinuxCompanion.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <utility>

#include "linux/PeerCredentials.h"

namespace fs = std::filesystem;

namespace pelorin::lnx {
namespace {

QString ToQString(const fs::path& path) {
  return QString::fromStdString(path.string());
}

}  // namespace

LinuxCompanion::LinuxCompanion(const fs::path& home, fs::path suiteExecutable, ports::Log& log,
                               std::string backend)
    : home_(fs::absolute(home)),
      suiteExecutable_(fs::absolute(suiteExecutable)),
      backend_(std::move(backend)),
      paths_(InstancePathsFor(home)),
      log_(log) {}

fs::path LinuxCompanion::ProgramFile() const {
  return suiteExecutable_.parent_path() / "cstdr";
}

int LinuxCompanion::Connect(bool& listening) const {
  listening = false;
  const std::string socketPath = paths_.CompanionSocket().string();
  sockaddr_un address{};
  if (socketPath.size() >= sizeof address.sun_path) return -1;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    // EAGAIN: the companion is there, but its queue of connections is full.
    listening = errno == EAGAIN;
    ::close(fd);
    return -1;
  }
  // A companion of another user would only pretend to watch this suite.
  if (!PeerIsThisUser(fd)) {
    ::close(fd);
    return -1;
  }
  listening = true;
  return fd;
}

bool LinuxCompanion::WindowExists() {
  bool listening = false;
  const int fd = Connect(listening);
  if (fd >= 0) ::close(fd);
  return listening;
}

void LinuxCompanion::Post(const ports::CompanionMessage& message) {
  bool listening = false;
  const int fd = Connect(listening);
  if (fd < 0) return;
  const std::string line = "POST " + std::to_string(message.message) + " " +
                           std::to_string(message.wParam) + " " + std::to_string(message.lParam) +
                           "\n";
  // A few bytes always fit into a fresh socket's buffer; never wait for the reader.
  [[maybe_unused]] const ssize_t sent =
      ::send(fd, line.data(), line.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  ::close(fd);
}

std::string LinuxCompanion::WhyNotRunnable() const {
  struct stat info {};
  const std::string program = ProgramFile().string();
  if (::stat(program.c_str(), &info) != 0) return std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return "not a file";
  if (::access(program.c_str(), X_OK) != 0) return std::strerror(errno);
  return {};
}

bool LinuxCompanion::ProgramExists() const {
  return WhyNotRunnable().empty();
}

bool LinuxCompanion::Start() {
  if (const std::string why = WhyNotRunnable(); !why.empty()) {
    NoteStart(false, why);
    return false;
  }
  QStringList arguments{"START", "--home", ToQString(home_), "--suite",
                        ToQString(suiteExecutable_)};
  if (!backend_.empty()) arguments << "--backend" << QString::fromStdString(backend_);
  QProcess process;
  process.setProgram(ToQString(ProgramFile()));
  process.setArguments(arguments);
  process.setWorkingDirectory(ToQString(suiteExecutable_.parent_path()));
  const bool started = process.startDetached();
  NoteStart(started, started ? std::string() : process.errorString().toStdString());
  return started;
}

void LinuxCompanion::NoteStart(bool started, const std::string& why) {
  if (started == !startFailing_) return;
  startFailing_ = !started;
  log_.Write("companion", started ? "started " + ProgramFile().string() + " again"
                                  : "cannot start " + ProgramFile().string() + ": " + why);
}

}  // namespace pelorin::lnx
