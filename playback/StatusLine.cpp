#include "playback/StatusLine.h"

#include "directory/ControlIds.h"
#include "platform/Win32.h"
#include "playback/MainWindowState.h"

void ShowStatus(LPCWSTR text) {
  SendDlgItemMessageW(mainWindow, ID_STATUS_LINE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
