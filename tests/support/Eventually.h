#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace pelorin::testing {

// Waits until a condition holds, for something that happens on another thread or in
// another process; gives up after a bound that only a fault reaches. Its last answer.
// A test whose condition needs the Qt event loop uses ProcessEventsUntil instead.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace pelorin::testing
