#include "app/SessionEndWatcher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSessionManager>

#include "app/SuiteApplication.h"

namespace pelorin::app {
namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void NeverRestart(QSessionManager& manager) {
  manager.setRestartHint(QSessionManager::RestartNever);
}

}  // namespace

SessionEndWatcher::SessionEndWatcher(SuiteApplication& application, std::function<bool()> queryEnd,
                                     std::function<void()> onEnd)
    : application_(application), onEnd_(std::move(onEnd)) {
  connect(&application, &QGuiApplication::commitDataRequest, this,
          [query = std::move(queryEnd)](QSessionManager& manager) {
            NeverRestart(manager);
            if (!query() && manager.allowsInteraction()) manager.cancel();
          });
  connect(&application, &QGuiApplication::saveStateRequest, this, NeverRestart);
  application.SetQuitHandler([this] { onEnd_(); });

  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
    onEnd_();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

SessionEndWatcher::~SessionEndWatcher() {
  application_.SetQuitHandler(nullptr);
  ::signal(SIGTERM, SIG_DFL);
  ::signal(SIGHUP, SIG_DFL);
  ::signal(SIGINT, SIG_DFL);
}

}  // namespace pelorin::app
