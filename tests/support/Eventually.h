#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace pelorin::testing {

// Waits until a condition holds, for something that happens on another thread or in
// another process; gives up after a bound that only a fault reaches. Its last answer.
inline bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace pelorin::testing
