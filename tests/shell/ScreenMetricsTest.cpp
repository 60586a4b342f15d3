#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/HeadlessScreen.h"
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

// The display opens first thing in main: nothing reads the screen while the program loads, and
// the heights follow the screen that is there when they are first used.
TEST(ScreenMetrics, NothingReadsTheScreenBeforeMainAndTheHeightsFollowTheScreenChosen) {
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  EXPECT_EQ(screenWidth.load(), 0);
  headless::UseHeadlessScreen(240, 320, 96);
  EXPECT_EQ(lineHeight, 20);
  EXPECT_EQ(listItemHeight, 40);
}

}  // namespace
