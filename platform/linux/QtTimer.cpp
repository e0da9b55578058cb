#include "linux/QtTimer.h"

#include <QString>
#include <algorithm>

namespace pelorin::lnx {

QtTimer::QtTimer(std::string name, int intervalMs, std::function<void()> handler)
    : interval_(std::max(0, intervalMs)) {
  timer_.setObjectName(QString::fromStdString(name));
  timer_.setSingleShot(false);
  SetOnTimer(std::move(handler));
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Fire(); });
}

QtTimer::~QtTimer() {
  timer_.stop();
}

void QtTimer::SetInterval(int milliseconds) {
  interval_ = std::max(0, milliseconds);
  Restart();
}

void QtTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void QtTimer::SetOnTimer(std::function<void()> handler) {
  handler_ = std::make_shared<const std::function<void()>>(std::move(handler));
}

void QtTimer::Restart() {
  if (enabled_ && interval_ > 0) {
    timer_.start(interval_);  // restarts the count when already running
  } else {
    timer_.stop();
  }
}

void QtTimer::Fire() const {
  const auto handler = handler_;  // keeps the handler alive if the timer goes
  if (*handler) (*handler)();
}

}  // namespace pelorin::lnx
