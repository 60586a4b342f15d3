#include "shell/NowPlayingRedraw.h"

#include "platform/Win32.h"
#include "shell/ControlIds.h"
#include "shell/LayoutList.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenAreas.h"

void RedrawNowPlaying(HWND window) {
  switch (screenState.load()) {
    case PlayerScreen:
      // The list a person is browsing is never taken away under their finger: a tap on it
      // would land on the view instead. The view shows the new cover when it comes up.
      if (IsWindowVisible(GetDlgItem(window, ID_STATION_LIST))) {
        break;
      }
      ShowWindow(GetDlgItem(window, ID_BACK), SW_SHOW);
      ShowWindow(GetDlgItem(window, ID_ADD), SW_SHOW);
      ShowWindow(GetDlgItem(window, ID_EXIT), SW_SHOW);
      InvalidateRect(window, nullptr, FALSE);
      break;
    case StationScreen: {
      LayoutList(window, ID_STATION_LIST);
      ShowWindow(GetDlgItem(window, ID_STATION_LIST), SW_SHOW);
      const RECT strip = StripBand();
      InvalidateRect(window, &strip, FALSE);
      break;
    }
    default:
      break;
  }
}
