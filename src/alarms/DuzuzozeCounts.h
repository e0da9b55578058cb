#pragma once

#include <string>
#include <string_view>

namespace pelorin {

// The stopwatch's count: hours 00 to 99, minutes, seconds and hundredths, written
// hh:mm:ss.cc.
struct StopwatchCount {
  int hours = 0, minutes = 0, seconds = 0, hundredths = 0;

  // A display read back; what does not read as hh:mm:ss.cc counts from zero.
  static StopwatchCount FromText(std::string_view text);
  std::string Text() const;
  // One tick: 5 hundredths on. After 99:59:59.95 the count starts again at zero.
  void Tick();
};

// A countdown display, mmm:ss (minutes 000 to 999).
struct CountdownDisplay {
  static constexpr int kMostMinutes = 999;
  int minutes = 0, seconds = 0;

  std::string Text() const;
  // One second down; false when the minutes fell below zero (the display then shows
  // 000:00 and the countdown has run out).
  bool SecondDown();
  // A held arrow's step on the minutes (999 wraps to 0 and back) or the seconds (59
  // wraps to 0 and back).
  void StepMinutes(int step);
  void StepSeconds(int step);
};

// A held arrow button repeats faster the longer it is held: after tick k the next one
// comes after this many milliseconds.
int ArrowRepeatAfterMs(int tick);

}  // namespace pelorin
