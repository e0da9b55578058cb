#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace pelorin::ports {

// A listener's hold on a notification: the listener is called until the subscription
// goes (or is reset), and a subscription may outlive the notification it came from.
class Subscription {
 public:
  Subscription() = default;
  explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
  ~Subscription() { Reset(); }
  Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
  Subscription& operator=(Subscription&& other) noexcept {
    if (this != &other) {
      Reset();
      cancel_ = std::exchange(other.cancel_, {});
    }
    return *this;
  }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;

  void Reset() {
    if (cancel_) std::exchange(cancel_, {})();
  }
  bool Active() const { return static_cast<bool>(cancel_); }

 private:
  std::function<void()> cancel_;
};

// Something that happens, told to every listener in the order they subscribed. A
// listener may unsubscribe itself or others, and subscribe new ones, while it is told:
// those that went are not called any more, those that came are called from the next
// time on.
template <typename... Args>
class Notification {
 public:
  using Listener = std::function<void(Args...)>;

  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() { state_->closed = true; }

  [[nodiscard]] Subscription Subscribe(Listener listener) {
    const std::size_t id = ++state_->lastId;
    state_->listeners.push_back({id, std::make_shared<Listener>(std::move(listener))});
    return Subscription([weak = std::weak_ptr<State>(state_), id] {
      const std::shared_ptr<State> state = weak.lock();
      if (!state || state->closed) return;
      std::erase_if(state->listeners, [id](const Entry& e) { return e.id == id; });
    });
  }

  void operator()(Args... args) const {
    const std::shared_ptr<State> keep = state_;
    // A copy: the list may change while the listeners are told.
    const std::vector<Entry> now = keep->listeners;
    for (const Entry& entry : now) {
      if (!Subscribed(*keep, entry.id)) continue;
      const std::shared_ptr<Listener> listener = entry.listener;
      (*listener)(args...);
    }
  }

  bool Empty() const { return state_->listeners.empty(); }

 private:
  struct Entry {
    std::size_t id;
    std::shared_ptr<Listener> listener;
  };
  struct State {
    std::vector<Entry> listeners;
    std::size_t lastId = 0;
    bool closed = false;
  };

  static bool Subscribed(const State& state, std::size_t id) {
    for (const Entry& e : state.listeners) {
      if (e.id == id) return true;
    }
    return false;
  }

  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace pelorin::ports
