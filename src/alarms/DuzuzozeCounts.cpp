#include "alarms/DuzuzozeCounts.h"

#include "common/Text.h"

namespace pelorin {
namespace {

// Two digits at `from`, or -1.
int TwoDigits(std::string_view text, std::size_t from) {
  if (text.size() < from + 2) return -1;
  const std::string_view digits = text.substr(from, 2);
  if (!IsDigits(digits)) return -1;
  return (digits[0] - '0') * 10 + (digits[1] - '0');
}

int Wrapped(int value, int step, int highest) {
  value += step;
  if (value > highest) return 0;
  if (value < 0) return highest;
  return value;
}

}  // namespace

StopwatchCount StopwatchCount::FromText(std::string_view text) {
  StopwatchCount count;
  const int h = TwoDigits(text, 0), m = TwoDigits(text, 3), s = TwoDigits(text, 6),
            c = TwoDigits(text, 9);
  if (text.size() != 11 || h < 0 || m < 0 || m > 59 || s < 0 || s > 59 || c < 0) return count;
  return {h, m, s, c};
}

std::string StopwatchCount::Text() const {
  return PadNumber(hours, 2, '0') + ":" + PadNumber(minutes, 2, '0') + ":" +
         PadNumber(seconds, 2, '0') + "." + PadNumber(hundredths, 2, '0');
}

void StopwatchCount::Tick() {
  hundredths += 5;
  if (hundredths < 100) return;
  hundredths -= 100;
  if (++seconds < 60) return;
  seconds = 0;
  if (++minutes < 60) return;
  minutes = 0;
  if (++hours < 100) return;
  *this = {};
}

std::string CountdownDisplay::Text() const {
  return PadNumber(minutes, 3, '0') + ":" + PadNumber(seconds, 2, '0');
}

bool CountdownDisplay::SecondDown() {
  if (--seconds >= 0) return true;
  seconds = 59;
  if (--minutes >= 0) return true;
  minutes = 0;
  seconds = 0;
  return false;
}

void CountdownDisplay::StepMinutes(int step) {
  minutes = Wrapped(minutes, step, kMostMinutes);
}

void CountdownDisplay::StepSeconds(int step) {
  seconds = Wrapped(seconds, step, 59);
}

int ArrowRepeatAfterMs(int tick) {
  if (tick <= 1) return 500;
  if (tick <= 3) return 250;
  if (tick <= 7) return 150;
  if (tick <= 20) return 75;
  return 30;
}

}  // namespace pelorin
