// Station logos: a genre of open-directory stations shows each station's logo at the left of its
// row once it arrives, lists without logos look as before, and a stalled logo holds nothing up.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "tests/e2e/LogoInternet.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/StationLogoHosts.h"

namespace e2e {
namespace {

constexpr int ambientRow = 1;
constexpr int kStations = 9;
// Rows of open-logos.xml by the logo they point at.
constexpr int pngRow = 0, jpegRow = 1, pageRow = 2, noLogoRow = 3, iconRow = 4, svgRow = 5,
              goneRow = 6;
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF panel = RGB(38, 38, 40);

struct RowGeometry {
  int top;
  int squareLeft, squareSide, squareTop;
  int centreX() const { return squareLeft + squareSide / 2; }
  int centreY() const { return squareTop + squareSide / 2; }
};

RowGeometry Row(const ProgramSession& session, int listId, int row) {
  const int top = session.Placement(listId).top + row * listItemHeight;
  const int margin = listItemHeight / 10;
  return {top, 8, listItemHeight - 2 * margin, top + margin};
}

// The first column from the left where the row's text band is not `background`.
int FirstInk(const ProgramSession& session, int listId, int row, COLORREF background) {
  const int top = Row(session, listId, row).top;
  for (int x = 0; x < screen.width; ++x) {
    for (int y = top + 18; y < top + listItemHeight; ++y) {
      if (headless::Pixel(x, y) != background) {
        return x;
      }
    }
  }
  return screen.width;
}

bool Near(COLORREF pixel, COLORREF wanted) {
  const auto close = [](int a, int b) { return a - b < 40 && b - a < 40; };
  return close(GetRValue(pixel), GetRValue(wanted)) && close(GetGValue(pixel), GetGValue(wanted)) &&
         close(GetBValue(pixel), GetBValue(wanted));
}

TEST(StationLogos, RowsShowTheirLogosAtTheLeftWithTheTextAfterThem) {
  LogoInternet internet;
  ProgramSession session;
  internet.Reach();
  // A list without logos: its text starts where it always did.
  EXPECT_LT(FirstInk(session, ID_GENRE_LIST, ambientRow, black), 8 + 4);

  session.TapRow(ID_GENRE_LIST, ambientRow);
  ASSERT_EQ(session.RowCount(ID_STATION_LIST), kStations);
  ASSERT_TRUE(headless::RunUntil([] { return !webClient.logos.Fetching(); }, 60s));
  headless::RunUntilIdle();
  session.Screenshot("logos-stations");

  // The wide blue bar keeps its aspect: the middle of the square is blue, its top is the row's.
  const RowGeometry png = Row(session, ID_STATION_LIST, pngRow);
  EXPECT_TRUE(Near(headless::Pixel(png.centreX(), png.centreY()), RGB(0, 0, 255)));
  EXPECT_EQ(headless::Pixel(png.centreX(), png.squareTop + 2), panel);  // row 0 is selected
  const RowGeometry jpeg = Row(session, ID_STATION_LIST, jpegRow);
  EXPECT_TRUE(Near(headless::Pixel(jpeg.centreX(), jpeg.centreY()), RGB(0, 255, 0)));
  EXPECT_TRUE(Near(headless::Pixel(jpeg.squareLeft + 1, jpeg.squareTop + 1), RGB(0, 255, 0)));
  const RowGeometry page = Row(session, ID_STATION_LIST, pageRow);
  EXPECT_TRUE(Near(headless::Pixel(page.centreX(), page.centreY()), RGB(0, 0, 255)));
  // No logo, an icon, a drawing, a missing one: an empty square, and every text after it.
  for (int row : {noLogoRow, iconRow, svgRow, goneRow}) {
    SCOPED_TRACE(testing::Message() << "row " << row);
    const RowGeometry empty = Row(session, ID_STATION_LIST, row);
    EXPECT_EQ(headless::Pixel(empty.centreX(), empty.centreY()), black);
    const int textLeft = empty.squareLeft + empty.squareSide + 8;
    const int ink = FirstInk(session, ID_STATION_LIST, row, black);
    EXPECT_GE(ink, textLeft - 1);
    // Hebrew too starts at the text's left.
    EXPECT_LT(ink, textLeft + 8);
  }
}

TEST(StationLogos, StalledLogosHoldNeitherTheListNorATuneIn) {
  LogoInternet internet;
  for (const fixture::LogoKind& kind : fixture::LogoKinds()) {
    internet.servers.server(kind.host).AddRoute({.path = kind.path, .headerDelaySeconds = 120});
  }
  internet.StartStream();
  ProgramSession session;
  internet.Reach();
  webClient.logos.limits.stallTimeoutMs = 60000;

  session.TapRow(ID_GENRE_LIST, ambientRow);
  ASSERT_EQ(session.RowCount(ID_STATION_LIST), kStations);
  EXPECT_TRUE(webClient.logos.Fetching());
  session.TapRow(ID_STATION_LIST, pngRow);
  EXPECT_TRUE(session.WaitForStatus(
      [](const std::wstring& status) { return status.find(L"Open Tone") != std::wstring::npos; },
      20s))
      << session.StatusHistoryText();
  EXPECT_TRUE(webClient.logos.Fetching());
}

// Blue the most, as the blue bar is (blended over black in the view, fitted in the strip).
bool Bluish(COLORREF pixel) {
  return GetBValue(pixel) > 150 && GetRValue(pixel) < 40 && GetGValue(pixel) < 40;
}

TEST(StationLogos, NowPlayingShowsTheStationsLogoUntilATitleHasACover) {
  LogoInternet internet;
  internet.StartStream();
  ProgramSession session;
  internet.Reach();
  session.ServeFoundAlbum();
  session.TapRow(ID_GENRE_LIST, ambientRow);
  ASSERT_TRUE(headless::RunUntil([] { return !webClient.logos.Fetching(); }, 60s));

  // The station sends no title yet: its logo in the strip's thumbnail and in the view.
  session.TapRow(ID_STATION_LIST, pngRow);
  ASSERT_TRUE(session.WaitForStatus(
      [](const std::wstring& status) { return status.find(L"Open Tone") != std::wstring::npos; },
      20s))
      << session.StatusHistoryText();
  SendMessageW(mainWindow, WM_SIZE, 0, 0);  // the list laid out short, the strip below it
  headless::RunUntilIdle();
  const int thumbnailMiddle = StripTop() + (3 * lineHeight - 4) / 2;
  EXPECT_TRUE(Bluish(headless::Pixel(37, thumbnailMiddle)));
  session.Screenshot("logo-strip");
  session.Tap(screen.width / 2, StripTop());
  const int viewMiddle = screen.height / 2 - lineHeight;
  EXPECT_TRUE(Bluish(headless::Pixel(screen.width / 2, viewMiddle)));
  session.Screenshot("logo-now-playing");

  // A title with a cover: the cover wins.
  internet.icecast->SetTitle("/tone.mp3", "Cher - Believe");
  ASSERT_TRUE(session.WaitForStatus(L"nice one", 20s)) << session.StatusHistoryText();
  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s));
  headless::RunUntilIdle();
  // The cover's pale disk, above its dark middle.
  const COLORREF cover = headless::Pixel(screen.width / 2, viewMiddle - 2 * lineHeight);
  EXPECT_GT(GetRValue(cover), GetBValue(cover) + 40);
  session.Screenshot("logo-station-cover");
}

}  // namespace
}  // namespace e2e
