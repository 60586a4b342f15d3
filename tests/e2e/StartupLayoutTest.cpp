#include <gtest/gtest.h>

#include "platform/HeadlessScreen.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "tests/e2e/ProgramSession.h"

namespace e2e {
namespace {

// Where every control stands on the two screens the program is tested on, as {x, y, w, h}.
struct Layout {
  RECT title, status, back, add, exit;
  int listTop, listHeight, rowHeight;
};

Layout ExpectedLayout() {
  if (screen.width == 240) {  // 240 x 320 at 96 dpi: line height 20
    return {{0, 0, 240, 20},
            {0, 300, 240, 20},
            {191, 22, 49, 49},
            {191, 71, 49, 49},
            {191, 120, 49, 49},
            20,
            280,
            40};
  }
  // 480 x 640 at 192 dpi: line height 40
  return {{0, 0, 480, 40},
          {0, 600, 480, 40},
          {431, 42, 49, 49},
          {431, 91, 49, 49},
          {431, 140, 49, 49},
          40,
          560,
          80};
}

void ExpectPlacement(const RECT& actual, const RECT& expected, const char* what) {
  EXPECT_EQ(actual.left, expected.left) << what;
  EXPECT_EQ(actual.top, expected.top) << what;
  EXPECT_EQ(actual.right, expected.right) << what << " width";
  EXPECT_EQ(actual.bottom, expected.bottom) << what << " height";
}

void ExpectScreenLayout(const ProgramSession& session) {
  const Layout expected = ExpectedLayout();
  ExpectPlacement(session.Placement(ID_TITLE_LINE), expected.title, "title line");
  ExpectPlacement(session.Placement(ID_STATUS_LINE), expected.status, "status line");
  ExpectPlacement(session.Placement(ID_BACK), expected.back, "Back");
  ExpectPlacement(session.Placement(ID_ADD), expected.add, "add");
  ExpectPlacement(session.Placement(ID_EXIT), expected.exit, "Exit");
  const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
  const RECT list = {0, expected.listTop, screen.width + 2 * scrollBar, expected.listHeight};
  ExpectPlacement(session.Placement(ID_GENRE_LIST), list, "genre list");
  ExpectPlacement(session.Placement(ID_STATION_LIST), list, "station list");
}

TEST(StartUp, EveryControlStandsWhereTheLayoutPutsIt) {
  ProgramSession session;
  ASSERT_TRUE(session.windowCreated());
  RECT window = {};
  GetWindowRect(mainWindow, &window);
  EXPECT_EQ(window.right - window.left, screen.width);
  EXPECT_EQ(window.bottom - window.top, screen.height);
  ExpectScreenLayout(session);
}

TEST(StartUp, ShowsTheGenreListWithReadyOnTheStatusLine) {
  ProgramSession session;
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"Ready");
  EXPECT_EQ(session.Text(ID_TITLE_LINE), L"");
  EXPECT_TRUE(session.Visible(ID_GENRE_LIST));
  EXPECT_FALSE(session.Visible(ID_BACK));
  EXPECT_FALSE(session.Visible(ID_EXIT));
  // The add button stays shown, under the genre list.
  EXPECT_TRUE(session.Visible(ID_ADD));
  EXPECT_EQ(GetFocus(), session.Control(ID_GENRE_LIST));

  ASSERT_EQ(session.RowCount(ID_GENRE_LIST), 3);
  EXPECT_EQ(session.RowText(ID_GENRE_LIST, 0, 0), L"My favourites");
  EXPECT_EQ(session.RowText(ID_GENRE_LIST, 0, 1), L"Favourites");
  EXPECT_EQ(session.RowText(ID_GENRE_LIST, 2, 0), L"Test tones");
  EXPECT_EQ(session.RowCount(ID_STATION_LIST), 0);
  session.Screenshot("01-genre-list");
}

TEST(StartUp, ListRowsFollowTheScreenDensity) {
  ProgramSession session;
  RECT first = {LVIR_BOUNDS, 0, 0, 0};
  RECT second = {LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(session.Control(ID_GENRE_LIST), LVM_GETITEMRECT, 0,
               reinterpret_cast<LPARAM>(&first));
  SendMessageW(session.Control(ID_GENRE_LIST), LVM_GETITEMRECT, 1,
               reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(first.bottom - first.top, ExpectedLayout().rowHeight);
  EXPECT_EQ(second.top - first.top, ExpectedLayout().rowHeight);
}

TEST(Layout, WmSizeKeepsTheLayoutThatFollowsTheScreen) {
  ProgramSession session;
  MoveWindow(mainWindow, 0, 0, 100, 150, TRUE);
  SendMessageW(mainWindow, WM_SIZE, 0, MAKELPARAM(100, 150));
  headless::RunUntilIdle();
  ExpectScreenLayout(session);
}

}  // namespace
}  // namespace e2e
