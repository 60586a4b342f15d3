#include "app/Layout.h"
#include "app/MainWindow.h"
#include "app/StationLogoOnAir.h"
#include "directory/WebClient.h"
#include "playback/InitPlayback.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "shell/TextBuffer.h"

namespace {

constexpr DWORD listStyle = 0x50014C09;  // child, visible, tab stop, owner-drawn report, no header
constexpr DWORD buttonStyle = 0x5000000B;  // child, visible, owner-drawn
constexpr DWORD lineStyle = 0x50000101;    // child, visible, centred, taps notify the parent
constexpr DWORD searchLineStyle = WS_CHILD | ES_CENTER;

const LPCWSTR listColumns[] = {L"id", L"Description"};

// Every control starts at (x, 0) with width 0: LayoutControls places it on the first WM_SIZE.
HWND CreateControl(HWND window, LPCWSTR className, LPCWSTR text, DWORD style, int x, int height,
                   int id) {
  return CreateWindowExW(0, className, text, style, x, 0, 0, height, window,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), appInstance, nullptr);
}

}  // namespace

void CreateControls(HWND window) {
  InitPlayback(window);
  mainWindow = window;
  webClient.logos.SetArrivalObserver(OnStationLogoArrived);

  // Created in stacking order: a control made earlier lies above one made later, so the lists
  // cover the image buttons.
  HWND genreList = CreateControl(window, L"SysListView32", nullptr, listStyle, 0, 0, ID_GENRE_LIST);
  SetupListColumns(window, ID_GENRE_LIST, listColumns, 2);
  LoadGenres(webClient, window, ID_GENRE_LIST);
  SetFocus(genreList);

  CreateControl(window, L"SysListView32", nullptr, listStyle, 0, 0, ID_STATION_LIST);
  SetupListColumns(window, ID_STATION_LIST, listColumns, 2);

  CreateControl(window, L"Button", L"Back", buttonStyle, 0, 0, ID_BACK);
  CreateControl(window, L"Button", L"Exit", buttonStyle, 0, 0, ID_EXIT);
  CreateControl(window, L"Button", L"Record", buttonStyle, 0, 0, ID_ADD);
  ShowWindow(GetDlgItem(window, ID_BACK), SW_HIDE);
  ShowWindow(GetDlgItem(window, ID_EXIT), SW_HIDE);

  CreateControl(window, L"Static", L"", lineStyle, 2, lineHeight, ID_TITLE_LINE);
  CreateControl(window, L"Static", L"Ready", lineStyle, 2, lineHeight, ID_STATUS_LINE);

  // Hidden until the genre screen asks for a search; it then stands in the title line's place.
  HWND searchLine =
      CreateControl(window, L"Edit", L"", searchLineStyle, 2, lineHeight, ID_SEARCH_LINE);
  SendMessageW(searchLine, EM_LIMITTEXT, kMaxTextCharacters, 0);
}
