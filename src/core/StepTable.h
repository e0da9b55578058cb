#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/SubsystemId.h"
#include "ports/Notification.h"

namespace pelorin {

// When a row of a sequence takes part: always, or only while the suite runs, has an
// active profile, or both (the shutdown's saving steps).
enum class StepCondition { Always, WhileRunning, WithActiveProfile, WhileRunningWithProfile };

// One row of an ordered sequence: its step, the subsystem whose call it is, what it
// does, when it takes part, and the busy box's progress after it (-1: none).
template <typename Step>
struct StepRow {
  Step step;
  SubsystemId owner;
  std::string_view what;
  StepCondition condition = StepCondition::Always;
  int progress = -1;
};

// Whether a table lists its steps in the order of their enumeration, each once: the
// enumeration is the order the sequence runs in.
template <typename Step, std::size_t N>
constexpr bool InStepOrder(const std::array<StepRow<Step>, N>& rows) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(rows[i].step) != i) return false;
  }
  return true;
}

// An ordered sequence of the suite (a profile load, the shutdown, the closing of every
// window, a timer's tick...) whose rows the subsystems fill with their calls. A row
// nobody has filled is skipped: its part of the suite does not exist in this build. A
// call answers false to end the sequence there (a timer tick that waits for a
// password); the sequence also ends when the suite has ended.
template <typename Step, std::size_t N>
class StepTable {
 public:
  using Rows = std::array<StepRow<Step>, N>;
  using Call = std::function<bool()>;

  explicit StepTable(const Rows& rows) : rows_(rows) {}
  StepTable(const StepTable&) = delete;
  StepTable& operator=(const StepTable&) = delete;

  // Fills a row. Only its owner fills it, and only once: a second call, or one by
  // another subsystem, is a programming error.
  void Bind(Step step, SubsystemId owner, std::function<void()> call) {
    BindUntil(step, owner, [call = std::move(call)] {
      call();
      return true;
    });
  }
  // The same for a call that may end the sequence (it answers false).
  void BindUntil(Step step, SubsystemId owner, Call call) {
    const StepRow<Step>& row = Row(step);
    if (row.owner != owner) {
      throw std::logic_error(std::string(SubsystemName(owner)) + " fills a row of " +
                             std::string(SubsystemName(row.owner)) + ": " + std::string(row.what));
    }
    Call& slot = calls_[Index(step)];
    if (slot) throw std::logic_error("row filled twice: " + std::string(row.what));
    slot = std::move(call);
  }

  bool Bound(Step step) const { return static_cast<bool>(calls_[Index(step)]); }
  const Rows& RowsInOrder() const { return rows_; }
  const StepRow<Step>& Row(Step step) const { return rows_[Index(step)]; }

  // Runs the filled rows in order. `goOn` is asked before each row (false once the suite
  // has ended), `holds` whether a row's condition holds now, and `progress` gets each
  // progress position reached. False when the sequence ended before its last row.
  bool Run(const std::function<bool()>& goOn, const std::function<bool(StepCondition)>& holds = {},
           const std::function<void(int)>& progress = {}) const {
    for (const StepRow<Step>& row : rows_) {
      if (!goOn()) return false;
      const Call& call = calls_[Index(row.step)];
      if (call && (!holds || holds(row.condition))) {
        ran(row.what);
        if (!call()) return false;
        if (!goOn()) return false;
      }
      if (row.progress >= 0 && progress) progress(row.progress);
    }
    return true;
  }

  // Each row as it runs (its `what`), for those who follow the suite's steps.
  mutable ports::Notification<std::string_view> ran;

 private:
  static constexpr std::size_t Index(Step step) { return static_cast<std::size_t>(step); }

  const Rows& rows_;
  std::array<Call, N> calls_{};
};

}  // namespace pelorin
