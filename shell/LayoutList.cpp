#include "shell/LayoutList.h"

#include "platform/Win32.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenAreas.h"
#include "shell/ScreenMetrics.h"

void LayoutList(HWND window, int listId) {
  const int w = screenWidth.load();
  SendDlgItemMessageW(window, listId, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(static_cast<WORD>(w), 0));
  SendDlgItemMessageW(window, listId, LVM_SETCOLUMNWIDTH, 1, 0);

  const int s = GetSystemMetrics(SM_CXVSCROLL);
  HWND list = GetDlgItem(window, listId);
  const RECT content = ContentArea();
  const int bottom = screenState.load() == StationScreen ? StripBand().top : content.bottom;
  MoveWindow(list, 0, content.top, w + 2 * s, bottom - content.top, TRUE);

  RECT client;
  GetClientRect(list, &client);
  // Without a region the list stays unclipped; layout goes on.
  if (HRGN region = CreateRectRgn(0, 0, client.right - s, client.bottom)) {
    SetWindowRgn(list, region, FALSE);
  }
}
