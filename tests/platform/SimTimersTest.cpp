#include "sim/SimTimers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sim/SimClock.h"
#include "sim/SimDialogs.h"

namespace pelorin::sim {
namespace {

using ports::LocalTime;

class SimTimersTest : public ::testing::Test {
 protected:
  SimClock clock{LocalTime{2024, 2, 28, 23, 59, 59, 0}};
  SimTimers timers{clock};
  std::vector<std::string> trace;

  std::unique_ptr<ports::Timer> Make(const std::string& name, int interval, bool enabled = true) {
    auto t = timers.Create(name, interval, [this, name] { trace.push_back(name); });
    t->SetEnabled(enabled);
    return t;
  }
};

TEST_F(SimTimersTest, DueTimersFireInOrderOfTheirMoments) {
  auto slow = Make("slow", 300);
  auto fast = Make("fast", 200);
  timers.Advance(600);
  // fast at 200, 400, 600; slow at 300, 600 (slow created first wins the tie).
  EXPECT_EQ(trace, (std::vector<std::string>{"fast", "slow", "fast", "slow", "fast"}));
  EXPECT_EQ(clock.MonotonicMs(), 600);
}

TEST_F(SimTimersTest, ZeroIntervalAndDisabledTimersNeverFire) {
  auto zero = Make("zero", 0);
  auto off = Make("off", 100, false);
  timers.Advance(10'000);
  EXPECT_TRUE(trace.empty());
  EXPECT_EQ(timers.ActiveCount(), 0);
}

TEST_F(SimTimersTest, SettingTheIntervalOrEnablingRestartsTheCount) {
  auto t = Make("t", 1000);
  timers.Advance(900);
  t->SetEnabled(true);  // enabling an enabled timer restarts it too
  timers.Advance(900);
  EXPECT_TRUE(trace.empty());
  t->SetInterval(500);
  timers.Advance(499);
  EXPECT_TRUE(trace.empty());
  timers.Advance(1);
  EXPECT_EQ(trace.size(), 1u);
}

TEST_F(SimTimersTest, ClockShowsEachTimersMomentAndCrossesMidnight) {
  std::vector<LocalTime> seen;
  auto t = timers.Create("t", 500, [&] { seen.push_back(clock.Now()); });
  t->SetEnabled(true);
  timers.Advance(1000);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (LocalTime{2024, 2, 28, 23, 59, 59, 500}));
  EXPECT_EQ(seen[1], (LocalTime{2024, 2, 29, 0, 0, 0, 0}));  // leap day
}

TEST_F(SimTimersTest, SettingTheWallClockDoesNotMoveTimers) {
  auto t = Make("t", 1000);
  bool set = false;
  clock.SetNow({2030, 6, 1, 12, 0, 0, 0}, [&set](bool done) { set = done; });
  ASSERT_TRUE(set);
  timers.Advance(999);
  EXPECT_TRUE(trace.empty());
  timers.Advance(1);
  EXPECT_EQ(trace.size(), 1u);
  EXPECT_EQ(clock.Now(), (LocalTime{2030, 6, 1, 12, 0, 1, 0}));
  EXPECT_FALSE(clock.Set({2030, 2, 30, 0, 0, 0, 0}));
  clock.RefuseSetting(true);
  EXPECT_FALSE(clock.Set({2030, 2, 3, 0, 0, 0, 0}));
}

TEST_F(SimTimersTest, ModalWaitInsideAHandlerLetsOtherTimersFireWithoutBacklog) {
  SimDialogs dialogs(&timers);
  dialogs.Expect("Question?", ports::DialogAnswer::Yes, 1000);
  auto other = Make("other", 200);
  int asks = 0;
  std::unique_ptr<ports::Timer> asking;
  asking = timers.Create("asking", 300, [&] {
    trace.push_back("asking");
    if (asks++ == 0) {
      // The handler does not stop its timer: it fires again inside the wait.
      dialogs.Expect("Question?", ports::DialogAnswer::No);
      dialogs.Show({"Question?", "", ports::DialogIcon::Question, ports::DialogButtons::YesNo});
    }
  });
  asking->SetEnabled(true);
  timers.Advance(1300);
  // other 200; asking 300 waits until 1300: inside the wait other fires at 400, 600,
  // 800, 1000, 1200 and asking, still enabled, at 600, 900, 1200.
  EXPECT_EQ(trace, (std::vector<std::string>{"other", "asking", "other", "other", "asking", "other",
                                             "asking", "other", "other", "asking"}));
  EXPECT_EQ(asks, 4);
  EXPECT_EQ(clock.MonotonicMs(), 1300);
}

TEST_F(SimTimersTest, LateTimerFiresOnceAndCountsOnFromThen) {
  auto fast = Make("fast", 100);
  auto blocking = timers.Create("blocking", 50, [&] {
    trace.push_back("blocking");
    clock.AdvanceTicksTo(clock.MonotonicMs() + 450);  // busy without letting events through
  });
  blocking->SetEnabled(true);
  timers.Advance(50);
  blocking->SetEnabled(false);
  timers.Advance(150);  // now 650
  // fast was due at 100..500 while blocked: it fires once at 500, then at 600.
  EXPECT_EQ(trace, (std::vector<std::string>{"blocking", "fast", "fast"}));
}

TEST_F(SimTimersTest, HandlerMayDestroyItsOwnTimer) {
  std::unique_ptr<ports::Timer> self;
  int fired = 0;
  self = timers.Create("self", 100, [&] {
    ++fired;
    self.reset();
  });
  self->SetEnabled(true);
  timers.Advance(1000);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(timers.Count(), 0);
}

TEST(SimDialogs, RecordsQuestionsAndRejectsUnexpectedOnes) {
  SimDialogs dialogs;
  dialogs.ExpectContaining("damaged", ports::DialogAnswer::No);
  ports::MessageRequest ask{"File \"x\" is damaged. Restore?", "Caption",
                            ports::DialogIcon::Warning, ports::DialogButtons::YesNo};
  EXPECT_EQ(dialogs.Show(ask), ports::DialogAnswer::No);
  EXPECT_THROW(dialogs.Show(ask), UnexpectedDialog);  // nothing more expected
  dialogs.Expect("Other", ports::DialogAnswer::NoToAll);
  EXPECT_THROW(dialogs.Show(ask), UnexpectedDialog);  // wrong text
  dialogs.Expect("Plain", ports::DialogAnswer::Yes);
  EXPECT_THROW(dialogs.Show({"Plain", "", ports::DialogIcon::None, ports::DialogButtons::Ok}),
               UnexpectedDialog);  // Yes is not a button of an OK box
  EXPECT_EQ(dialogs.Asked().size(), 4u);
  EXPECT_EQ(dialogs.Failures().size(), 3u);
}

}  // namespace
}  // namespace pelorin::sim
