#include "sim/SimTimers.h"

#include <algorithm>

namespace pelorin::sim {

class SimTimer : public ports::Timer {
 public:
  SimTimer(SimTimers& owner, std::string name, int interval, std::function<void()> handler)
      : owner_(&owner), name_(std::move(name)), interval_(interval), handler_(std::move(handler)) {
    owner_->Register(this);
  }
  ~SimTimer() override {
    if (owner_ != nullptr) owner_->Unregister(this);
  }

  void SetInterval(int milliseconds) override {
    interval_ = std::max(0, milliseconds);
    Restart();
  }
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    if (enabled) Restart();
  }
  bool Enabled() const override { return enabled_; }
  void SetOnTimer(std::function<void()> handler) override { handler_ = std::move(handler); }

  bool Active() const { return owner_ != nullptr && enabled_ && interval_ > 0 && handler_; }

 private:
  friend class SimTimers;
  void Restart() {
    if (owner_ != nullptr) due_ = owner_->clock_.MonotonicMs() + interval_;
  }

  SimTimers* owner_;
  std::uint64_t id_ = 0;
  std::string name_;
  int interval_;
  bool enabled_ = false;
  std::int64_t due_ = 0;
  std::function<void()> handler_;
};

SimTimers::SimTimers(SimClock& clock) : clock_(clock) {}

SimTimers::~SimTimers() {
  for (auto& [id, timer] : timers_)
    timer->owner_ = nullptr;
}

std::unique_ptr<ports::Timer> SimTimers::Create(std::string name, int intervalMs,
                                                std::function<void()> handler) {
  return std::make_unique<SimTimer>(*this, std::move(name), std::max(0, intervalMs),
                                    std::move(handler));
}

void SimTimers::Register(SimTimer* timer) {
  timer->id_ = nextId_++;
  timers_[timer->id_] = timer;
  timer->Restart();
}

void SimTimers::Unregister(SimTimer* timer) {
  timers_.erase(timer->id_);
}

int SimTimers::ActiveCount() const {
  return static_cast<int>(std::count_if(timers_.begin(), timers_.end(),
                                        [](const auto& e) { return e.second->Active(); }));
}

SimTimer* SimTimers::NextDue(std::int64_t until) const {
  SimTimer* best = nullptr;
  for (const auto& [id, timer] : timers_) {
    if (!timer->Active() || timer->due_ > until) continue;
    if (best == nullptr || timer->due_ < best->due_) best = timer;
  }
  return best;
}

void SimTimers::Advance(std::int64_t milliseconds) {
  const std::int64_t target = clock_.MonotonicMs() + std::max<std::int64_t>(0, milliseconds);
  while (SimTimer* timer = NextDue(target)) {
    // A timer that fell behind (its handler, or another, took longer than its
    // interval) fires once now and counts on from here: no backlog of ticks.
    clock_.AdvanceTicksTo(timer->due_);
    timer->due_ = clock_.MonotonicMs() + timer->interval_;
    if (keepFiredLog_) firedLog_.push_back(timer->name_);
    // The handler may destroy its own timer or replace its handler: run a copy.
    auto handler = timer->handler_;
    handler();
  }
  clock_.AdvanceTicksTo(target);
}

}  // namespace pelorin::sim
