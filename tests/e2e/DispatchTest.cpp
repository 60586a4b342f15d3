#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "platform/HeadlessScreen.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "tests/e2e/LinkSeams.h"
#include "tests/e2e/ProgramSession.h"

namespace e2e {
namespace {

TEST(Dispatch, CommandsAlsoReachDefWindowProc) {
  ProgramSession session;
  for (const int id : {9999, ID_TITLE_LINE, ID_BACK}) {
    const int before = seams::DefWindowProcCalls(mainWindow, WM_COMMAND);
    SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
    EXPECT_EQ(seams::DefWindowProcCalls(mainWindow, WM_COMMAND), before + 1) << id;
  }
  // A tap on a text line arrives the same way (the command above opened the search line, which
  // Escape closes again).
  headless::PressKey(VK_ESCAPE);
  headless::RunUntilIdle();
  const int before = seams::DefWindowProcCalls(mainWindow, WM_COMMAND);
  session.TapControl(ID_TITLE_LINE);
  EXPECT_EQ(seams::DefWindowProcCalls(mainWindow, WM_COMMAND), before + 1);
}

TEST(Dispatch, HandledMessagesStopAtTheirHandlers) {
  ProgramSession session;
  for (const UINT message : {WM_SIZE, WM_ACTIVATE, WM_TIMER, WM_LBUTTONDOWN}) {
    SendMessageW(mainWindow, message, 0, 0);
  }
  InvalidateRect(mainWindow, nullptr, FALSE);
  headless::RunUntilIdle();
  for (const UINT message : {WM_SIZE, WM_ACTIVATE, WM_PAINT, WM_TIMER, WM_LBUTTONDOWN}) {
    EXPECT_EQ(seams::DefWindowProcCalls(mainWindow, message), 0) << message;
  }
}

TEST(Dispatch, MeasureItemSetsTheRowHeightOfListViewsOnly) {
  ProgramSession session;
  MEASUREITEMSTRUCT list = {ODT_LISTVIEW, ID_STATION_LIST, 0, 0, 7, 0};
  EXPECT_EQ(SendMessageW(mainWindow, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&list)), 1);
  EXPECT_EQ(list.itemHeight, static_cast<UINT>(listItemHeight));
  MEASUREITEMSTRUCT button = {ODT_BUTTON, ID_BACK, 0, 0, 7, 0};
  EXPECT_EQ(SendMessageW(mainWindow, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&button)), 1);
  EXPECT_EQ(button.itemHeight, 7u);
}

TEST(Dispatch, ResultsOfTheHandledMessages) {
  ProgramSession session;
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = 4242;
  EXPECT_EQ(SendMessageW(mainWindow, WM_DRAWITEM, 4242, reinterpret_cast<LPARAM>(&item)), 1);
  NMHDR other = {session.Control(ID_TITLE_LINE), ID_TITLE_LINE, NM_CLICK};
  EXPECT_EQ(SendMessageW(mainWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other)), 0);
  EXPECT_EQ(SendMessageW(mainWindow, WM_TIMER, 5, 0), 0);
  EXPECT_EQ(screenState.load(), GenreScreen);
}

}  // namespace
}  // namespace e2e
