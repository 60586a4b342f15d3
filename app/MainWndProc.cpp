#include <cstdint>

#include "app/Commands.h"
#include "app/Layout.h"
#include "app/MainWindow.h"
#include "app/Painting.h"
#include "app/SearchLine.h"
#include "audio/AudioLibrary.h"
#include "directory/WebClient.h"
#include "playback/InitPlayback.h"
#include "playback/PlayerService.h"
#include "playback/SystemLink.h"
#include "playback/TuneIn.h"
#include "shell/ScreenMetrics.h"

namespace {

// Handed to the shell on every settings change; the program never fills it.
SHACTIVATEINFO shellActivateInfo = {};

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      StopPlayerService();
      StopSystemLink();
      BASS_Free();
      CoUninitialize();
      return 0;
    case WM_SIZE:
      LayoutControls(window);
      return 0;
    case WM_ACTIVATE:
      RestoreFullScreen(window);
      return 0;
    case WM_PAINT:
      PaintMainWindow(window);
      return 0;
    case WM_SETTINGCHANGE:
      SHHandleWMSettingChange(window, wParam, lParam, &shellActivateInfo);
      return 0;
    case WM_DRAWITEM:
      DrawOwnerItem(window, static_cast<int>(wParam),
                    reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return 1;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType == ODT_LISTVIEW) {
        measure->itemHeight = listItemHeight;
      }
      return 1;
    }
    case WM_NOTIFY:
      OnListChoice(window, reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam));
      // The command also reaches the default handling.
      break;
    case WM_TIMER:
      OnBufferTimer();
      return 0;
    case WM_LBUTTONDOWN:
      OnPanelClick(window, HIWORD(static_cast<std::uintptr_t>(lParam)));
      return 0;
    case WM_CHAR:
      OnTypedCharacter(window, static_cast<WCHAR>(wParam));
      return 0;
    case WM_SEARCH_DONE:
      OnSearchDone(window, wParam);
      return 0;
    case WM_PLAYER_REQUEST:
      OnPlayerRequest(window, wParam);
      return 0;
    case WM_CHECK_AUDIO_DEVICE:
      CheckAudioDevice(window);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
