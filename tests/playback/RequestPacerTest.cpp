#include "playback/RequestPacer.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = RequestPacer::Clock;

TEST(RequestPacer, NextRequestWaitsOutTheIntervalOrGivesUpBeforeTheDeadline) {
  RequestPacer pacer(300ms);
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(pacer.WaitTurn(start + 10s));
  EXPECT_LT(Clock::now() - start, 100ms);  // the first goes at once

  EXPECT_FALSE(pacer.WaitTurn(Clock::now() + 50ms));
  EXPECT_LT(Clock::now() - start, 100ms);  // refused without waiting

  ASSERT_TRUE(pacer.WaitTurn(Clock::now() + 10s));
  EXPECT_GE(Clock::now() - start, 300ms);
}

}  // namespace
