#include "core/WinampRemote.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/SuiteOnSim.h"

namespace pelorin {
namespace {

using testing::SuiteOnSim;

long Count(const std::vector<std::string>& log, const std::string& entry) {
  return std::count(log.begin(), log.end(), entry);
}

class WinampRemoteTest : public ::testing::Test {
 protected:
  WinampRemoteTest() {
    sim.companion.windowExists = true;  // the companion runs: the tick only drives the player
    sim.suite.timers().StartHiAndEx();
  }

  SuiteOnSim sim;
  WinampRemote& w = sim.suite.winamp();
  SharedValues& v = sim.suite.values();
};

TEST_F(WinampRemoteTest, RequestsWaitForThePlayerThenGoOut) {
  sim.player.running = false;
  w.PlayRequest = true;
  w.StopRequest = true;
  sim.timers.Advance(1000);
  EXPECT_TRUE(sim.player.log.empty());
  EXPECT_FALSE(sim.suite.winamp().Running());

  sim.player.running = true;
  sim.timers.Advance(200);
  EXPECT_TRUE(sim.suite.winamp().Running());
  EXPECT_EQ(sim.player.log, (std::vector<std::string>{"cmd 40045", "cmd 40047"}));
  EXPECT_FALSE(w.PlayRequest);
  EXPECT_FALSE(w.StopRequest);
  sim.timers.Advance(1000);
  EXPECT_EQ(sim.player.log.size(), 2u);
}

TEST_F(WinampRemoteTest, PositionConfirmedLateThenPlays) {
  sim.player.positionQueriesBeforeConfirming = 3;
  v.PlaylistRequest = 4;
  w.PlayAfterJump = true;

  sim.timers.Advance(200);
  EXPECT_EQ(sim.player.log,
            (std::vector<std::string>{"query 121 4", "cmd 40047", "query 121 4", "query 120 0"}));
  EXPECT_EQ(v.PlaylistRequest, 4);  // not there yet: sent again on the next ticks

  sim.timers.Advance(600);
  EXPECT_EQ(v.PlaylistRequest, -1);
  EXPECT_FALSE(w.PlayAfterJump);
  EXPECT_EQ(Count(sim.player.log, "query 120 0"), 4);
  EXPECT_EQ(sim.player.log.back(), "cmd 40045");

  sim.timers.Advance(1000);
  EXPECT_EQ(Count(sim.player.log, "query 120 0"), 4);
}

TEST_F(WinampRemoteTest, PositionNeverConfirmedIsDroppedAfterTenSeconds) {
  sim.player.positionQueriesBeforeConfirming = 1'000'000;
  v.PlaylistRequest = 7;
  w.PlayAfterJump = true;

  sim.timers.Advance(9'800);
  EXPECT_EQ(v.PlaylistRequest, 7);
  sim.timers.Advance(400);
  EXPECT_EQ(v.PlaylistRequest, -1);
  EXPECT_FALSE(w.PlayAfterJump);
  EXPECT_EQ(Count(sim.player.log, "cmd 40045"), 0);

  const std::size_t sent = sim.player.log.size();
  sim.timers.Advance(2000);
  EXPECT_EQ(sim.player.log.size(), sent);

  // A new request gets a lifetime of its own.
  v.PlaylistRequest = 7;
  sim.timers.Advance(5000);
  EXPECT_EQ(v.PlaylistRequest, 7);
}

// The lifetime runs on the monotonic clock: the wall clock set a day forward does not
// drop the request at once, nor does a clock set back keep it beyond its ten seconds.
TEST_F(WinampRemoteTest, SettingTheClockNeitherDropsNorProlongsAPositionRequest) {
  sim.player.positionQueriesBeforeConfirming = 1'000'000;
  const ports::LocalTime start = sim.clock.Now();
  v.PlaylistRequest = 3;
  sim.timers.Advance(2'000);

  ports::LocalTime dayLater = start;
  dayLater.day += 1;
  ASSERT_TRUE(sim.clock.Set(dayLater));
  sim.timers.Advance(2'000);
  EXPECT_EQ(v.PlaylistRequest, 3);

  ports::LocalTime hourEarlier = start;
  hourEarlier.hour -= 1;
  ASSERT_TRUE(sim.clock.Set(hourEarlier));
  sim.timers.Advance(5'800);
  EXPECT_EQ(v.PlaylistRequest, 3);
  sim.timers.Advance(400);
  EXPECT_EQ(v.PlaylistRequest, -1);
}

}  // namespace
}  // namespace pelorin
