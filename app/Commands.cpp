#include "app/Commands.h"
#include "app/SearchLine.h"
#include "directory/WebClient.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/NowPlayingRedraw.h"
#include "shell/ScreenAreas.h"
#include "shell/StatusLine.h"

namespace {

void Show(HWND window, int id, int command) {
  ShowWindow(GetDlgItem(window, id), command);
}

}  // namespace

void OnCommand(HWND window, int commandId) {
  switch (commandId) {
    case ID_TITLE_LINE:
      if (screenState.load() == PlayerScreen || screenState.load() == StationScreen) {
        DropSearch();
        Show(window, ID_STATION_LIST, SW_HIDE);
        Show(window, ID_GENRE_LIST, SW_SHOW);
        screenState.store(GenreScreen);
      } else {
        OpenSearchLine(window, L"");
      }
      break;
    case IDOK:  // Return in the search line
      RunSearch(window);
      break;
    case IDCANCEL:  // Escape in the search line
      CloseSearchLine(window);
      break;
    case ID_STATUS_LINE:
    case ID_EXIT:
      SendMessageW(window, WM_CLOSE, 0, 0);
      break;
    case ID_BACK:
      // The shortened station list and the strip below it, as a new cover shows them.
      screenState.store(StationScreen);
      RedrawNowPlaying(window);
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
  // A tap counts over the band raised by the panel's gap.
  const RECT band = StripBand();
  if (y < band.top - panelGap || y > band.bottom - panelGap) {
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
