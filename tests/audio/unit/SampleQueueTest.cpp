// The sample queue between the decoder and the output, on the test's own clock: periods carry
// the samples in order and where the output is; the start waits for a nearly full queue, and
// running dry is a stall that lasts until it is nearly full again; the end of decoding drains it
// without a stall.
#include "audio/SampleQueue.h"

#include <gtest/gtest.h>

#include <numeric>

namespace audio {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kCapacity = 8192;  // samples: 4096 stereo frames
const Clock::time_point kStart = Clock::time_point{} + 1h;

// Samples counting up from `first`.
std::vector<std::int16_t> Counting(std::size_t count, std::int16_t first) {
  std::vector<std::int16_t> samples(count);
  std::iota(samples.begin(), samples.end(), first);
  return samples;
}

class SampleQueueTest : public testing::Test {
 protected:
  // Renders `frames` at `at` past kStart; the period, and the samples mixed into silence.
  std::optional<SampleQueue::Period> RenderAt(std::size_t frames, Clock::duration at) {
    mixed_.assign(frames * 2, 0);
    return queue_.Render(mixed_.data(), frames, kStart + at);
  }

  SampleQueue queue_{kCapacity};
  std::vector<std::int32_t> mixed_;
};

TEST_F(SampleQueueTest, StartAndRunningDryWaitUntilTheQueueIsNearlyFull) {
  queue_.Play();
  queue_.Push(Counting(3000, 0));
  EXPECT_FALSE(RenderAt(1000, 0ms));  // a start that found the decoder still filling
  queue_.Push(Counting(3200, 3000));  // nearly full: 6200 samples
  std::optional<SampleQueue::Period> period = RenderAt(1000, 10ms);
  ASSERT_TRUE(period);
  EXPECT_EQ(period->frames, 1000u);
  EXPECT_EQ(mixed_[1999], 1999);
  EXPECT_EQ(period->position.periodStart, kStart + 10ms);
  EXPECT_FALSE(period->position.stalled);

  period = RenderAt(3000, 20ms);  // 2100 frames are left: the queue runs dry
  ASSERT_TRUE(period);
  EXPECT_EQ(period->frames, 2100u);
  EXPECT_EQ(period->position.framesPlayed, 3100u);
  EXPECT_EQ(period->position.periodFirstFrame, 1000u);
  EXPECT_EQ(period->position.periodStart, kStart + 20ms);
  EXPECT_TRUE(period->position.stalled);

  queue_.Push(Counting(kCapacity / 2, 6200));  // half full: not enough to play on
  EXPECT_FALSE(RenderAt(1000, 40ms));
  queue_.Push(Counting(kCapacity / 4 + 2, 10296));  // nearly full
  period = RenderAt(1000, 60ms);
  ASSERT_TRUE(period);
  EXPECT_EQ(period->frames, 1000u);
  EXPECT_EQ(mixed_[0], 6200);  // carries on where it ran dry
  EXPECT_FALSE(period->position.stalled);
  EXPECT_EQ(period->position.periodFirstFrame, 3100u);
}

TEST_F(SampleQueueTest, EndOfDecodingDrainsTheQueueWithoutAStall) {
  queue_.Push(Counting(1000, 0));
  EXPECT_FALSE(RenderAt(1000, 0ms));  // not playing yet
  queue_.Play();
  queue_.EndDecoding();
  std::optional<SampleQueue::Period> period = RenderAt(1000, 0ms);
  ASSERT_TRUE(period);
  EXPECT_EQ(period->frames, 500u);
  EXPECT_FALSE(period->position.stalled);
  EXPECT_TRUE(period->position.drained);
  queue_.Stop();
  EXPECT_FALSE(RenderAt(1000, 0ms));
}

}  // namespace
}  // namespace audio
