#include "shell/StatusLine.h"

#include "platform/Win32.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"

void ShowStatus(LPCWSTR text) {
  SendDlgItemMessageW(mainWindow, ID_STATUS_LINE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
