#include "audio/Backoff.h"

#include <gtest/gtest.h>

#include <vector>

namespace audio {
namespace {

using namespace std::chrono_literals;
using Clock = Backoff::Clock;

// The waits of one failed try after another, from the drop until the backoff gives up.
std::vector<Clock::duration> WaitsUntilGivingUp(Backoff& backoff, Clock::time_point dropped) {
  std::vector<Clock::duration> waits;
  Clock::time_point now = dropped;
  while (auto wait = backoff.NextWait(now)) {
    waits.push_back(*wait);
    now += *wait;
  }
  return waits;
}

TEST(Backoff, TriesAtOnceThenWaitsLongerUntilTheBudgetIsSpent) {
  const Clock::time_point dropped{};
  Backoff fiveMinutes(5min);
  fiveMinutes.Dropped(dropped - 1h, dropped);
  std::vector<Clock::duration> expected = {0s, 1s, 2s, 4s, 8s, 15s};
  expected.insert(expected.end(), 9, 30s);  // the last try starts at the budget's end
  EXPECT_EQ(WaitsUntilGivingUp(fiveMinutes, dropped), expected);

  Backoff fourSeconds(4s);
  fourSeconds.Dropped(dropped - 1h, dropped);
  EXPECT_EQ(WaitsUntilGivingUp(fourSeconds, dropped), (std::vector<Clock::duration>{0s, 1s, 2s}));
}

TEST(Backoff, OnlyAConnectionThatPlayedHalfAMinuteStartsTheScheduleAnew) {
  const Clock::time_point start{};
  struct Case {
    Clock::duration played;  // by the connection that came back, before it dropped again
    Clock::duration nextWait;
  };
  for (const Case& c : {Case{29s, 2s}, Case{30s, 0s}}) {
    Backoff backoff(5min);
    backoff.Dropped(start - 1h, start);
    ASSERT_EQ(backoff.NextWait(start), Clock::duration(0s));
    ASSERT_EQ(backoff.NextWait(start), Clock::duration(1s));  // the try at once failed
    const Clock::time_point back = start + 1s;
    backoff.Dropped(back, back + c.played);
    EXPECT_EQ(backoff.NextWait(back + c.played), c.nextWait) << c.played.count();
  }
}

TEST(Backoff, AShorterUnitShortensTheWaitsAndTheSteadyPlay) {
  const Clock::time_point dropped{};
  Backoff quick(2s, 50ms);
  quick.Dropped(dropped - 1h, dropped);
  EXPECT_EQ(WaitsUntilGivingUp(quick, dropped),
            (std::vector<Clock::duration>{0ms, 50ms, 100ms, 200ms, 400ms, 750ms}));
  // Thirty units of play start the schedule anew.
  const Clock::time_point back = dropped + 2s;
  quick.Dropped(back, back + 1500ms);
  EXPECT_EQ(quick.NextWait(back + 1500ms), Clock::duration(0ms));
}

TEST(Backoff, NetworkBackTriesAtOnceAndTheTimeWithoutOneCostsNoBudget) {
  const Clock::time_point dropped{};
  Backoff tenSeconds(10s);
  tenSeconds.Dropped(dropped - 1h, dropped);
  ASSERT_EQ(tenSeconds.NextWait(dropped), Clock::duration(0s));
  ASSERT_EQ(tenSeconds.NextWait(dropped), Clock::duration(1s));
  // No network from the try after 1 s until half a minute later.
  const Clock::time_point back = dropped + 31s;
  tenSeconds.NetworkBack(back, 30s);
  EXPECT_EQ(WaitsUntilGivingUp(tenSeconds, back), (std::vector<Clock::duration>{0s, 1s, 2s, 4s}));
}

}  // namespace
}  // namespace audio
