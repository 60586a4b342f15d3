#include <gtest/gtest.h>

#include <chrono>

#include "platform/HeadlessScreen.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "tests/e2e/ProgramSession.h"

namespace e2e {
namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF panel = RGB(38, 38, 40);

void OpenToneStations(ProgramSession& session) {
  session.TapRow(ID_GENRE_LIST, toneGenreRow);
  ASSERT_EQ(session.RowCount(ID_STATION_LIST), 3);
}

void ExpectNowPlayingView(const ProgramSession& session, int y) {
  EXPECT_EQ(screenState.load(), PlayerScreen) << y;
  EXPECT_FALSE(session.Visible(ID_STATION_LIST)) << y;
  EXPECT_TRUE(session.Visible(ID_BACK)) << y;
  EXPECT_TRUE(session.Visible(ID_ADD)) << y;
  EXPECT_TRUE(session.Visible(ID_EXIT)) << y;
}

TEST(Screens, GenreRowZeroOpensTheFavourites) {
  ProgramSession session;
  WriteFile(session.folder() + "radios.txt", "\r\n1001|Tone 440\r\n1002|Short Tone");
  session.TapRow(ID_GENRE_LIST, 0);
  EXPECT_EQ(session.Text(ID_TITLE_LINE), L"Favourites");
  EXPECT_EQ(screenState.load(), PlayerScreen);
  EXPECT_TRUE(session.Visible(ID_STATION_LIST));
  EXPECT_FALSE(session.Visible(ID_GENRE_LIST));
  ASSERT_EQ(session.RowCount(ID_STATION_LIST), 2);
  EXPECT_EQ(session.RowText(ID_STATION_LIST, 0, 0), L"Tone 440");
  EXPECT_EQ(session.RowText(ID_STATION_LIST, 1, 1), L"1002");
  // The directory was not asked.
  EXPECT_EQ(session.directory().CountRequests("/sbin/newxml.phtml"), 0u);
  session.Screenshot("02-favourites");
}

TEST(Screens, GenreOpensItsStationsWithTheFirstRowHighlighted) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenToneStations(session));
  EXPECT_EQ(session.Text(ID_TITLE_LINE), L"Tone");
  EXPECT_EQ(screenState.load(), PlayerScreen);
  EXPECT_FALSE(session.Visible(ID_GENRE_LIST));
  EXPECT_EQ(session.RowText(ID_STATION_LIST, 0, 0), L"Tone 440 ");
  EXPECT_EQ(session.RowText(ID_STATION_LIST, 0, 1), L"1001");
  const RECT list = session.Placement(ID_STATION_LIST);
  // Row 0 is selected: a rounded panel; row 1 is black.
  EXPECT_EQ(headless::Pixel(screen.width / 2, list.top + 4), panel);
  EXPECT_EQ(headless::Pixel(screen.width - 20, list.top + listItemHeight + 4), black);
  session.Screenshot("03-stations");
}

TEST(Screens, TitleLineTapReturnsToTheGenres) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenToneStations(session));
  session.TapControl(ID_TITLE_LINE);
  EXPECT_EQ(screenState.load(), GenreScreen);
  EXPECT_TRUE(session.Visible(ID_GENRE_LIST));
  EXPECT_FALSE(session.Visible(ID_STATION_LIST));
}

TEST(Screens, TitleLineTapOnTheGenreListChangesNothing) {
  ProgramSession session;
  session.TapControl(ID_TITLE_LINE);
  EXPECT_EQ(screenState.load(), GenreScreen);
  EXPECT_TRUE(session.Visible(ID_GENRE_LIST));
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"Ready");
  EXPECT_TRUE(IsWindow(mainWindow));
}

TEST(Screens, StatusLineTapClosesTheProgram) {
  ProgramSession session;
  session.TapControl(ID_STATUS_LINE);
  EXPECT_FALSE(IsWindow(mainWindow));
  int exitCode = -1;
  EXPECT_TRUE(headless::QuitReceived(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

TEST(Screens, StationChoiceWithoutLayoutKeepsTheFullList) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenToneStations(session));
  session.TapRow(ID_STATION_LIST, nowhereStationRow);
  EXPECT_EQ(session.Text(ID_TITLE_LINE), L"Nowhere FM");
  EXPECT_EQ(screenState.load(), StationScreen);
  // Until something lays it out, the list still covers the strip's band: a tap there reaches
  // the list, not the window.
  EXPECT_EQ(session.Placement(ID_STATION_LIST).bottom, screen.height - 2 * lineHeight);
  ASSERT_TRUE(session.WaitForStatus(L"not playing"));
  session.Tap(screen.width / 2, StripTop() + lineHeight);
  EXPECT_EQ(screenState.load(), StationScreen);
}

// Pixel rows at and around the edges of the strip and of the window's tap band.
enum class Edge {
  StripTop,
  LastBeforeStatusMargin,
  FourAboveStrip,
  FiveAboveStrip,
  ThreeAboveStatus
};

int EdgeY(Edge edge) {
  switch (edge) {
    case Edge::StripTop:
      return StripTop();
    case Edge::LastBeforeStatusMargin:
      return screen.height - lineHeight - 4;
    case Edge::FourAboveStrip:
      return StripTop() - 4;
    case Edge::FiveAboveStrip:
      return StripTop() - 5;
    case Edge::ThreeAboveStatus:
      return screen.height - lineHeight - 3;
  }
  return 0;
}

std::string EdgeName(const ::testing::TestParamInfo<Edge>& info) {
  switch (info.param) {
    case Edge::StripTop:
      return "StripTop";
    case Edge::LastBeforeStatusMargin:
      return "FourAboveStatusLine";
    case Edge::FourAboveStrip:
      return "FourAboveStrip";
    case Edge::FiveAboveStrip:
      return "FiveAboveStrip";
    case Edge::ThreeAboveStatus:
      return "ThreeAboveStatusLine";
  }
  return "Unknown";
}

class StripTap : public ::testing::TestWithParam<Edge> {};

TEST_P(StripTap, TapAtAnEdgeOfTheStripOpensTheNowPlayingView) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
  EXPECT_EQ(session.Placement(ID_STATION_LIST).bottom, screen.height - 5 * lineHeight);
  session.Tap(screen.width / 2, EdgeY(GetParam()));
  ExpectNowPlayingView(session, EdgeY(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Screens, StripTap,
                         ::testing::Values(Edge::StripTop, Edge::LastBeforeStatusMargin), EdgeName);

class WindowBand : public ::testing::TestWithParam<Edge> {};

// The window's own band starts 4 pixels above the strip, where the list lies, so its ends are
// tried with the message itself.
TEST_P(WindowBand, BandOfTheWindowIncludesBothEnds) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
  const int y = EdgeY(GetParam());
  SendMessageW(mainWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(5, static_cast<WORD>(y)));
  headless::RunUntilIdle();
  ExpectNowPlayingView(session, y);
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowBand,
                         ::testing::Values(Edge::FourAboveStrip, Edge::LastBeforeStatusMargin),
                         EdgeName);

TEST(Screens, BandOfTheWindowEndsWhereItSays) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
  for (const Edge edge : {Edge::FiveAboveStrip, Edge::ThreeAboveStatus}) {
    SendMessageW(mainWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(5, static_cast<WORD>(EdgeY(edge))));
    headless::RunUntilIdle();
    EXPECT_EQ(screenState.load(), StationScreen) << EdgeY(edge);
  }
}

TEST(Screens, TapsJustOutsideTheStripDoNothing) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
  // Just below the band the window takes the tap, outside the tested band.
  session.Tap(screen.width / 2, EdgeY(Edge::ThreeAboveStatus));
  EXPECT_EQ(screenState.load(), StationScreen);
  // The 4 pixels above the strip belong to the list, which takes the tap itself.
  session.Tap(screen.width / 2, EdgeY(Edge::FourAboveStrip));
  EXPECT_EQ(screenState.load(), StationScreen);
  EXPECT_TRUE(session.Visible(ID_STATION_LIST));
}

TEST(Screens, StripShowsThePanelInTheBandBelowTheList) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
  const int top = StripTop();
  // The band's left edge stays black; the panel begins 10 pixels in.
  EXPECT_EQ(headless::Pixel(5, top + lineHeight), black);
  // Inside the panel, under the thumbnail that has no cover to draw.
  EXPECT_EQ(headless::Pixel(30, top + lineHeight + 5), panel);
  EXPECT_EQ(headless::Pixel(screen.width - 4, top + lineHeight), black);
}

TEST(Screens, BackShowsTheStationListAgainAboveTheStrip) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
  session.Tap(screen.width / 2, StripTop());
  ASSERT_EQ(screenState.load(), PlayerScreen);
  session.TapControl(ID_BACK);
  EXPECT_EQ(screenState.load(), StationScreen);
  EXPECT_TRUE(session.Visible(ID_STATION_LIST));
  EXPECT_EQ(session.Placement(ID_STATION_LIST).bottom, screen.height - 5 * lineHeight);
  EXPECT_EQ(headless::Pixel(30, StripTop() + lineHeight + 5), panel);
}

TEST(Screens, ExitButtonClosesTheProgram) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
  session.Tap(screen.width / 2, StripTop());
  ASSERT_TRUE(session.Visible(ID_EXIT));
  session.TapControl(ID_EXIT);
  EXPECT_FALSE(IsWindow(mainWindow));
  int exitCode = -1;
  EXPECT_TRUE(headless::QuitReceived(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

TEST(Screens, GenreChosenAfterTheStripKeepsTheShortenedList) {
  ProgramSession session;
  ASSERT_NO_FATAL_FAILURE(OpenStripScreen(session));
  session.TapControl(ID_TITLE_LINE);
  ASSERT_EQ(screenState.load(), GenreScreen);
  session.TapRow(ID_GENRE_LIST, toneGenreRow);
  EXPECT_EQ(screenState.load(), PlayerScreen);
  EXPECT_EQ(session.Placement(ID_STATION_LIST).bottom, screen.height - 5 * lineHeight);
}

}  // namespace
}  // namespace e2e
