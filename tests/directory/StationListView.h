// A list view made as the program makes its genre and station lists: owner-drawn report rows
// with the visible name column and the hidden id column. For the directory's tests and benchmarks.
#pragma once

#include <cstdint>

#include "platform/Win32.h"
#include "shell/ControlIds.h"

inline HWND CreateProgramListView(HWND parent, int id, DWORD visible) {
  HWND list = CreateWindowExW(
      0, L"SysListView32", nullptr,
      WS_CHILD | visible | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER, 0,
      40, 480, 500, parent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr,
      nullptr);
  for (int column = 0; column < 2; ++column) {
    LVCOLUMNW format{};
    format.mask = LVCF_WIDTH | LVCF_SUBITEM;
    format.cx = column == 0 ? 480 : 0;
    format.iSubItem = column;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&format));
  }
  return list;
}

// A visible 480x640 window of class `className` (registered here with `procedure`) holding the
// program's genre and station lists, both shown. For the directory's benchmarks.
inline HWND CreateListsWindow(WNDPROC procedure, LPCWSTR className) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, className, L"bench", WS_VISIBLE, 0, 0, 480, 640, nullptr,
                                nullptr, nullptr, nullptr);
  for (int id : {ID_GENRE_LIST, ID_STATION_LIST}) {
    CreateProgramListView(window, id, WS_VISIBLE);
  }
  return window;
}
