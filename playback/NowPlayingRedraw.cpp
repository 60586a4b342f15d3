#include "playback/NowPlayingRedraw.h"

#include "directory/ControlIds.h"
#include "platform/Win32.h"
#include "playback/LayoutList.h"
#include "playback/MainWindowState.h"
#include "playback/ScreenMetrics.h"

void RedrawNowPlaying(HWND window) {
  switch (screenState.load()) {
    case PlayerScreen:
      ShowWindow(GetDlgItem(window, ID_STATION_LIST), SW_HIDE);
      ShowWindow(GetDlgItem(window, ID_BACK), SW_SHOW);
      ShowWindow(GetDlgItem(window, ID_ADD), SW_SHOW);
      ShowWindow(GetDlgItem(window, ID_EXIT), SW_SHOW);
      InvalidateRect(window, nullptr, FALSE);
      break;
    case StationScreen: {
      LayoutList(window, ID_STATION_LIST);
      ShowWindow(GetDlgItem(window, ID_STATION_LIST), SW_SHOW);
      const int width = screenWidth.load();
      const int height = screenHeight.load();
      const RECT strip{0, height - 4 * lineHeight, width, height - lineHeight};
      InvalidateRect(window, &strip, FALSE);
      break;
    }
    default:
      break;
  }
}
