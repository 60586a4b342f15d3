#include "playback/LayoutList.h"

#include "directory/ControlIds.h"
#include "platform/Win32.h"
#include "playback/MainWindowState.h"
#include "playback/ScreenMetrics.h"

void LayoutList(HWND window, int listId) {
  const int w = screenWidth.load();
  const int h = screenHeight.load() - 2 * lineHeight;
  SendDlgItemMessageW(window, listId, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(static_cast<WORD>(w), 0));
  SendDlgItemMessageW(window, listId, LVM_SETCOLUMNWIDTH, 1, 0);

  const int s = GetSystemMetrics(SM_CXVSCROLL);
  HWND list = GetDlgItem(window, listId);
  const int height = screenState.load() == StationScreen ? h - 3 * lineHeight : h;
  MoveWindow(list, 0, lineHeight, w + 2 * s, height, TRUE);

  RECT client;
  GetClientRect(list, &client);
  // Without a region the list stays unclipped; layout goes on.
  if (HRGN region = CreateRectRgn(0, 0, client.right - s, client.bottom)) {
    SetWindowRgn(list, region, FALSE);
  }
}
