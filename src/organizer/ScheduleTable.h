#pragma once

#include <array>
#include <string>

namespace pelorin {

// The organizer's schedule: for each entry index the next occurrence's time of day
// (HHMM) and day and month (DDMM), "9999" for none, and whether its message is switched
// off. 8193 rows; the check looks at rows 0 to 8191, so at most 8192 entries become due.
struct ScheduleTable {
  static constexpr int kRows = 8193;
  static constexpr int kCheckedRows = 8192;
  static constexpr char kNone[] = "9999";

  struct Row {
    std::string NextTime = kNone;
    std::string NextDate = kNone;
    bool MessageOff = true;
  };

  // Every row fresh: "9999", "9999", switched off.
  void Reset() { rows.fill(Row{}); }
  // Rows 0 to 8191 fresh (the profile load and the wake-up).
  void ResetChecked() {
    for (int i = 0; i < kCheckedRows; ++i)
      rows[static_cast<std::size_t>(i)] = Row{};
  }
  // Whether an entry index has a row.
  static bool Holds(int n) { return n >= 0 && n < kRows; }
  Row& operator[](int n) { return rows[static_cast<std::size_t>(n)]; }
  const Row& operator[](int n) const { return rows[static_cast<std::size_t>(n)]; }

  std::array<Row, kRows> rows;
};

}  // namespace pelorin
