#include "app/Layout.h"

#include "shell/ControlIds.h"
#include "shell/LayoutList.h"
#include "shell/ScreenMetrics.h"

namespace {

void ReadScreenSize() {
  screenWidth.store(GetSystemMetrics(SM_CXSCREEN));
  screenHeight.store(GetSystemMetrics(SM_CYSCREEN));
}

void MoveControl(HWND window, int id, int x, int y, int width, int height) {
  MoveWindow(GetDlgItem(window, id), x, y, width, height, TRUE);
}

}  // namespace

void LayoutControls(HWND window) {
  ReadScreenSize();
  const int width = screenWidth.load();
  const int height = screenHeight.load();
  const int buttonX = width - buttonWidth;
  MoveControl(window, ID_TITLE_LINE, 0, 0, width, lineHeight);
  MoveControl(window, ID_SEARCH_LINE, 0, 0, width, lineHeight);
  MoveControl(window, ID_STATUS_LINE, 0, height - lineHeight, width, lineHeight);
  MoveControl(window, ID_BACK, buttonX, lineHeight + panelMargin, buttonWidth, buttonHeight);
  MoveControl(window, ID_ADD, buttonX, lineHeight + buttonHeight + panelMargin, buttonWidth,
              buttonHeight);
  MoveControl(window, ID_EXIT, buttonX, lineHeight + 2 * buttonHeight + panelMargin, buttonWidth,
              buttonHeight);
  LayoutList(window, ID_GENRE_LIST);
  LayoutList(window, ID_STATION_LIST);
}

void RestoreFullScreen(HWND window) {
  ReadScreenSize();
  SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON);
  MoveWindow(window, 0, 0, screenWidth.load(), screenHeight.load(), FALSE);
}

void SetupListColumns(HWND window, int listId, const LPCWSTR* names, int count) {
  for (int i = 0; i < count; ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.fmt = 0;
    column.cx = 0;
    column.pszText = const_cast<LPWSTR>(names[i]);
    SendDlgItemMessageW(window, listId, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  }
}
