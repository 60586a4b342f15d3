#include <gtest/gtest.h>

#include <chrono>

#include "platform/HeadlessScreen.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "tests/e2e/ProgramSession.h"

namespace e2e {
namespace {

constexpr COLORREF panel = RGB(38, 38, 40);

// StationScreen with the list laid out short, and `cover` as the last lookup's cover.
void OpenStripScreenWithCover(ProgramSession& session, const std::string& cover) {
  CopyFile(cover, session.folder() + "folder.jpg");
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
}

TEST(NowPlaying, ViewBlendsTheCoverElevenTimesHoldingTheWindowAboutASecond) {
  ProgramSession session;
  OpenStripScreenWithCover(session, fixture::FixturePath("e2e/white-cover.jpg"));
  const auto start = std::chrono::steady_clock::now();
  session.Tap(screen.width / 2, StripTop());
  const auto held = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(screenState.load(), PlayerScreen);
  // Eleven blends 100 ms apart.
  EXPECT_GE(held, 1050ms);

  // White blended at 10, 15, ..., 60 over black weighs about 81 %: 206 of 255. Ten blends would
  // give 191, twelve 219.
  const int y = lineHeight + 3 * listItemHeight + 5;  // below the three rows the list showed
  const COLORREF blended = headless::Pixel(screen.width / 2, y);
  EXPECT_GE(GetRValue(blended), 199);
  EXPECT_LE(GetRValue(blended), 213);
  EXPECT_EQ(GetRValue(blended), GetBValue(blended));

  // The panel over the view, with only "Now Playing" in it: no title has come.
  const int panelBottom = screen.height - lineHeight - 4;
  EXPECT_EQ(headless::Pixel(12, panelBottom - lineHeight), panel);
  EXPECT_EQ(headless::Pixel(screen.width / 2, panelBottom - lineHeight / 2), panel);
}

TEST(NowPlaying, StripDrawsTheCoverThumbnailInItsPanel) {
  ProgramSession session;
  OpenStripScreenWithCover(session, fixture::FixturePath("e2e/white-cover.jpg"));
  const int top = StripTop();
  // The thumbnail: 50 pixels wide from x = 12, from top + 2 to the panel's bottom less 2.
  EXPECT_EQ(headless::Pixel(13, top + 3), RGB(255, 255, 255));
  EXPECT_EQ(headless::Pixel(60, screen.height - lineHeight - 7), RGB(255, 255, 255));
  EXPECT_EQ(headless::Pixel(64, screen.height - lineHeight - 6), panel);
}

TEST(NowPlaying, ScreensWithThePlaceholderCover) {
  ProgramSession session;
  OpenStripScreenWithCover(session, session.folder() + "noAlbum.jpg");
  session.Screenshot("04-station-strip");
  session.Tap(screen.width / 2, StripTop());
  ASSERT_EQ(screenState.load(), PlayerScreen);
  session.Screenshot("05-now-playing");
  session.TapControl(ID_BACK);
  ASSERT_EQ(screenState.load(), StationScreen);
  session.Screenshot("07-back-to-stations");
}

}  // namespace
}  // namespace e2e
