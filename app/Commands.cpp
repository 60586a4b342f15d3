#include "app/Commands.h"
#include "directory/ControlIds.h"
#include "directory/WebClient.h"
#include "playback/LayoutList.h"
#include "playback/MainWindowState.h"
#include "playback/ScreenMetrics.h"
#include "playback/StatusLine.h"

namespace {

void Show(HWND window, int id, int command) {
  ShowWindow(GetDlgItem(window, id), command);
}

// The band of the now-playing strip, above the status line.
void InvalidateStripBand(HWND window) {
  const RECT band = {0, screenHeight.load() - 4 * lineHeight, screenWidth.load(),
                     screenHeight.load() - lineHeight};
  InvalidateRect(window, &band, FALSE);
}

}  // namespace

void OnCommand(HWND window, int commandId) {
  switch (commandId) {
    case ID_TITLE_LINE:
      if (screenState.load() == PlayerScreen || screenState.load() == StationScreen) {
        Show(window, ID_STATION_LIST, SW_HIDE);
        Show(window, ID_GENRE_LIST, SW_SHOW);
        screenState.store(GenreScreen);
      }
      break;
    case ID_STATUS_LINE:
    case ID_EXIT:
      SendMessageW(window, WM_CLOSE, 0, 0);
      break;
    case ID_BACK:
      screenState.store(StationScreen);
      LayoutList(window, ID_STATION_LIST);
      Show(window, ID_STATION_LIST, SW_SHOW);
      InvalidateStripBand(window);
      break;
    case ID_ADD:
      ShowStatus(AddFavourite(webClient, window, ID_STATION_LIST) ? L"Added" : L"not added");
      break;
    default:
      break;
  }
}

void OnPanelClick(HWND window, int y) {
  if (screenState.load() != StationScreen) {
    return;
  }
  const int height = screenHeight.load();
  if (y < height - 4 * lineHeight - 4 || y > height - lineHeight - 4) {
    return;
  }
  screenState.store(PlayerScreen);
  Show(window, ID_STATION_LIST, SW_HIDE);
  // The whole view is painted again, with its fade-in.
  InvalidateRect(window, nullptr, FALSE);
  Show(window, ID_EXIT, SW_SHOW);
  Show(window, ID_BACK, SW_SHOW);
  Show(window, ID_ADD, SW_SHOW);
}
