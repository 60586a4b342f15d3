// The inside of the "SysListView32" control (report view): its columns, rows, selection and
// scrolling. Not for code outside platform/.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace winsys {

struct ListViewColumn {
  std::wstring text;
  int width = 0;
};

struct ListViewRow {
  std::vector<std::wstring> texts;  // one per column at least; index = subitem
  UINT state = 0;                   // LVIS_*
  LPARAM param = 0;
};

struct ListViewState : ControlState {
  std::vector<ListViewColumn> columns;
  std::vector<ListViewRow> rows;
  COLORREF background = RGB(0, 0, 0);
  int rowHeight = 0;  // asked of the parent (WM_MEASUREITEM) on first need
  int scroll = 0;     // pixels of content above the client area

  // A press on the rows, until its release: a tap, or a drag once it has moved far enough.
  bool pressed = false;
  bool dragging = false;
  POINT pressPoint{};
  int lastY = 0;
  std::chrono::steady_clock::time_point lastMove{};
  double velocity = 0;  // pixels per millisecond, positive downwards
};

ListViewState& ListViewOf(HWND hwnd);

// The LVM_* messages about columns, rows, texts and states. False when `message` is not one.
bool HandleListViewMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Row geometry and what must follow a change (ListView.cpp).
int RowHeight(HWND hwnd);
RECT RowRect(HWND hwnd, int row);
void InvalidateRow(HWND hwnd, int row);
// After rows were added or removed: the scroll bar appears or goes, the scroll stays in range,
// everything is repainted.
void RowsChanged(HWND hwnd);
void EnsureVisible(HWND hwnd, int row);
// Selects exactly `row` (and gives it the focus state); -1 clears the selection.
void SelectOnly(HWND hwnd, int row);

}  // namespace winsys
