#include <gtest/gtest.h>

#include "shell/ScreenMetrics.h"

namespace {

TEST(ScaleLength, LineAndRowHeightsAtTheUsualDensities) {
  EXPECT_EQ(ScaleLength(20, 96), 20);
  EXPECT_EQ(ScaleLength(40, 96), 40);
  EXPECT_EQ(ScaleLength(20, 128), 27);
  EXPECT_EQ(ScaleLength(40, 128), 53);
  EXPECT_EQ(ScaleLength(20, 192), 40);
  EXPECT_EQ(ScaleLength(40, 192), 80);
}

TEST(ScaleLength, HalvesRoundAwayFromZero) {
  EXPECT_EQ(ScaleLength(1, 144), 2);  // 1.5
  EXPECT_EQ(ScaleLength(-1, 144), -2);
  EXPECT_EQ(ScaleLength(-20, 128), -27);
  EXPECT_EQ(ScaleLength(0, 192), 0);
}

TEST(ScaleLength, UnknownDensityMakesEveryHeightZero) {
  EXPECT_EQ(ScaleLength(20, -1), 0);
  EXPECT_EQ(ScaleLength(40, -1), 0);
}

}  // namespace
