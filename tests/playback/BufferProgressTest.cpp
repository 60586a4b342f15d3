#include "playback/BufferProgress.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::uint64_t engineError = ~std::uint64_t{0};

bool StartsPlayback(std::uint64_t buffered, std::uint64_t total) {
  return *BufferProgress(buffered, total) > playbackThreshold;
}

TEST(BufferProgress, SeventyFivePerCentKeepsBufferingAndSeventySixPlays) {
  EXPECT_EQ(BufferProgress(75, 100), 75);
  EXPECT_FALSE(StartsPlayback(75, 100));
  EXPECT_EQ(BufferProgress(76, 100), 76);
  EXPECT_TRUE(StartsPlayback(76, 100));
  // Just under 76 per cent rounds down.
  EXPECT_FALSE(StartsPlayback(75999, 100000));
}

TEST(BufferProgress, ReportsWholePerCentOfARealBuffer) {
  EXPECT_EQ(BufferProgress(0, 80000), 0);
  EXPECT_EQ(BufferProgress(33600, 80000), 42);
  EXPECT_EQ(BufferProgress(80000, 80000), 100);
}

TEST(BufferProgress, BufferOfSizeZeroCountsAsEmptyInsteadOfDividingByZero) {
  EXPECT_EQ(BufferProgress(0, 0), 0);
  EXPECT_EQ(BufferProgress(500, 0), 0);
}

TEST(BufferProgress, EngineErrorMeansTheStreamHasGoneAway) {
  EXPECT_FALSE(BufferProgress(engineError, 80000).has_value());
  EXPECT_FALSE(BufferProgress(100, engineError).has_value());
  EXPECT_FALSE(BufferProgress(engineError, engineError).has_value());
}

TEST(BufferProgress, MoreThanFullAndHugeValuesStayWithinZeroToHundred) {
  EXPECT_EQ(BufferProgress(90000, 80000), 100);
  const std::uint64_t huge = std::uint64_t{1} << 62;
  EXPECT_EQ(BufferProgress(huge / 2, huge), 50);
  EXPECT_EQ(BufferProgress(huge - 1, huge), 99);
}

}  // namespace
