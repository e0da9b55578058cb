#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "ports/Timers.h"

namespace pelorin::lnx {

// A QTimer kept to the rules of the suite's timers: an interval of 0 (or less) never
// fires, because a 0 ms QTimer would fire on every pass of the event loop; setting the
// interval or enabling restarts the count; a late tick fires once (QTimer does not
// queue missed ticks). The handler may destroy its own timer.
class QtTimer : public ports::Timer {
 public:
  QtTimer(std::string name, int intervalMs, std::function<void()> handler);
  ~QtTimer() override;
  QtTimer(const QtTimer&) = delete;
  QtTimer& operator=(const QtTimer&) = delete;

  void SetInterval(int milliseconds) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void SetOnTimer(std::function<void()> handler) override;

 private:
  // Starts the QTimer afresh when the timer should run, else stops it.
  void Restart();
  void Fire() const;

  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = false;
  // Shared so that a tick runs its own reference even when the handler replaces the
  // handler or destroys the timer.
  std::shared_ptr<const std::function<void()>> handler_;
};

}  // namespace pelorin::lnx
