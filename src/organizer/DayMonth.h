#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/LocalTime.h"

namespace pelorin {

// A date of the organizer: a day and a month without a year. February has 28 days in
// every year; dates compare by month, then day.
struct DayMonth {
  int day = 1;
  int month = 1;

  static DayMonth Of(const ports::LocalTime& time) { return {time.day, time.month}; }
  // "DDMM"; nothing for "9999" or any text that is not a day and a month.
  static std::optional<DayMonth> FromText(std::string_view ddmm);
  std::string Text() const;

  static int LengthOf(int month);

  bool Before(const DayMonth& other) const {
    return month < other.month || (month == other.month && day < other.day);
  }
  friend bool operator==(const DayMonth&, const DayMonth&) = default;

  // The date `days` later (days >= 0). `wrapped` learns whether the advance ran from
  // December into January.
  DayMonth Advanced(int days, bool* wrapped = nullptr) const;
  // How many days after `from` this date next comes, counting `from` itself as 0
  // (0 to 364).
  int DaysAfter(const DayMonth& from) const;
};

}  // namespace pelorin
