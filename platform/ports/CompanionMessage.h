#pragma once

namespace pelorin::ports {

// A message between the suite and its companion watchdog: the three numbers of a
// window message, the same on both sides.
struct CompanionMessage {
  int message = 0;
  int wParam = 0;
  int lParam = 0;
  friend bool operator==(const CompanionMessage&, const CompanionMessage&) = default;
};

// The suite greets its companion once it has seen its window, and says goodbye when it
// ends in order; the companion then ends too instead of restarting the suite.
inline constexpr CompanionMessage kCompanionGreeting{16789, 1902, 902};
inline constexpr CompanionMessage kCompanionShutdown{8903, 8100, 16387};

}  // namespace pelorin::ports
