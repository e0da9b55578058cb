#include "linux/QtTimers.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/QtTestApplication.h"

namespace pelorin::lnx {
namespace {

using testing::EnsureQtApplication;
using testing::ProcessEventsUntil;

class QtTimersTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureQtApplication(); }

  // A 10 ms timer that counts its ticks: the yardstick the other timers are watched by.
  std::unique_ptr<ports::Timer> Ticker(int& ticks) {
    auto ticker = timers.Create("ticker", 10, [&ticks] { ++ticks; });
    ticker->SetEnabled(true);
    return ticker;
  }

  QtTimers timers;
};

TEST_F(QtTimersTest, ZeroIntervalAndDisabledTimersNeverFire) {
  int zero = 0, negative = 0, disabled = 0, ticks = 0;
  auto zeroTimer = timers.Create("zero", 0, [&] { ++zero; });
  zeroTimer->SetEnabled(true);
  auto negativeTimer = timers.Create("negative", -5, [&] { ++negative; });
  negativeTimer->SetEnabled(true);
  auto disabledTimer = timers.Create("disabled", 10, [&] { ++disabled; });
  EXPECT_EQ(negativeTimer->Interval(), 0);
  EXPECT_TRUE(zeroTimer->Enabled());
  EXPECT_FALSE(disabledTimer->Enabled());

  auto ticker = Ticker(ticks);
  ASSERT_TRUE(ProcessEventsUntil([&] { return ticks >= 10; }));
  EXPECT_EQ(zero, 0);
  EXPECT_EQ(negative, 0);
  EXPECT_EQ(disabled, 0);

  // An interval brings the enabled timer to life; 0 stops it again.
  zeroTimer->SetInterval(10);
  ASSERT_TRUE(ProcessEventsUntil([&] { return zero >= 2; }));
  zeroTimer->SetInterval(0);
  const int zeroBefore = zero;
  ticks = 0;
  ASSERT_TRUE(ProcessEventsUntil([&] { return ticks >= 10; }));
  EXPECT_EQ(zero, zeroBefore);
}

TEST_F(QtTimersTest, SettingTheIntervalOrEnablingRestartsTheCount) {
  int slowTicks = 0, restarts = 0;
  auto slow = timers.Create("slow", 1000, [&] { ++slowTicks; });
  slow->SetEnabled(true);
  // Every 20 ms the slow timer's count starts afresh, alternately by setting its
  // interval and by enabling it again: it never reaches its 1000 ms.
  auto restarter = timers.Create("restarter", 20, [&] {
    if (++restarts % 2 == 0) {
      slow->SetInterval(1000);
    } else {
      slow->SetEnabled(true);
    }
  });
  restarter->SetEnabled(true);
  ASSERT_TRUE(ProcessEventsUntil([&] { return restarts >= 75; }, 30000));
  EXPECT_EQ(slowTicks, 0);

  restarter->SetEnabled(false);
  EXPECT_TRUE(ProcessEventsUntil([&] { return slowTicks >= 1; }));
}

TEST_F(QtTimersTest, HandlerMayReplaceItsHandlerAndDestroyItsTimer) {
  int first = 0, second = 0, ticks = 0;
  std::unique_ptr<ports::Timer> self;
  self = timers.Create("self", 10, [&] {
    ++first;
    self->SetOnTimer([&] {
      ++second;
      self.reset();
    });
  });
  self->SetEnabled(true);
  ASSERT_TRUE(ProcessEventsUntil([&] { return self == nullptr; }));

  auto ticker = Ticker(ticks);
  ASSERT_TRUE(ProcessEventsUntil([&] { return ticks >= 10; }));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

TEST_F(QtTimersTest, DisabledTimerStopsFiring) {
  int fired = 0, ticks = 0;
  auto timer = timers.Create("once", 10, {});
  timer->SetOnTimer([&] {
    ++fired;
    timer->SetEnabled(false);  // a one-shot timer as the suite writes it
  });
  timer->SetEnabled(true);
  ASSERT_TRUE(ProcessEventsUntil([&] { return fired >= 1; }));
  auto ticker = Ticker(ticks);
  ASSERT_TRUE(ProcessEventsUntil([&] { return ticks >= 10; }));
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 10);
}

}  // namespace
}  // namespace pelorin::lnx
