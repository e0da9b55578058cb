#pragma once

namespace pelorin::ports {

// A moment of local time as the system clock reports it (the fields of a
// SYSTEMTIME without the weekday, which the suite computes from the date).
struct LocalTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

}  // namespace pelorin::ports
