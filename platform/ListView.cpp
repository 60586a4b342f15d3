// The "SysListView32" control in report view with owner-drawn rows of one fixed height: painting,
// taps, keys and scrolling by drag, fling and wheel, and its own scroll bar.
#include "platform/ListView.h"

#include <algorithm>
#include <cmath>

#include "platform/Controls.h"
#include "platform/DisplayMetrics.h"
#include "platform/Paint.h"

namespace winsys {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT_PTR kFlingTimer = 0x4C56;  // the list's own timer; its parent never sees it
constexpr UINT kFlingStepMs = 16;
constexpr double kFlingDecay = 0.95;                         // per step
constexpr double kFlingMinimum = 0.5;                        // px/ms: slower releases just stop
constexpr double kFlingStop = 0.05;                          // px/ms
constexpr auto kHeldStill = std::chrono::milliseconds(100);  // a pause before release: no fling
constexpr COLORREF kSelectedBackground = RGB(38, 38, 40);
constexpr COLORREF kTextColor = RGB(200, 200, 200);
constexpr COLORREF kScrollTrack = RGB(24, 24, 24);
constexpr COLORREF kScrollThumb = RGB(96, 96, 96);

// A length given for 96 pixels per inch, at the screen's density.
int Scaled(int v) {
  return (v * CurrentDisplay().dpi + 48) / 96;
}

int ClientHeight(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  return client.bottom;
}

int ContentHeight(HWND hwnd) {
  return static_cast<int>(ListViewOf(hwnd).rows.size()) * RowHeight(hwnd);
}

int RowsWidth(HWND hwnd) {
  int width = 0;
  for (const ListViewColumn& column : ListViewOf(hwnd).columns) {
    width += column.width;
  }
  if (width > 0) {
    return width;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  return client.right;
}

void ScrollTo(HWND hwnd, int y) {
  ListViewState& list = ListViewOf(hwnd);
  const int limit = std::max(0, ContentHeight(hwnd) - ClientHeight(hwnd));
  y = std::clamp(y, 0, limit);
  if (y != list.scroll) {
    list.scroll = y;
    InvalidateRect(hwnd, nullptr, TRUE);
  }
}

void UpdateScrollBar(HWND hwnd) {
  const int height = hwnd->rect.bottom - hwnd->rect.top;
  const int wanted = ContentHeight(hwnd) > height ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  if (wanted != hwnd->nonClientRight) {
    hwnd->nonClientRight = wanted;
    InvalidateRect(hwnd, nullptr, TRUE);
  }
  ScrollTo(hwnd, ListViewOf(hwnd).scroll);
}

void FillWith(HDC hdc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(hdc, &rect, brush);
  DeleteObject(brush);
}

// Rows without an owner: each column's text on one line, the selection highlighted.
void DrawRowItself(HDC hdc, const ListViewState& list, const ListViewRow& row, RECT rect) {
  const bool selected = (row.state & LVIS_SELECTED) != 0;
  FillWith(hdc, rect, selected ? kSelectedBackground : list.background);
  SetTextColor(hdc, kTextColor);
  RECT cell = rect;
  const int padding = Scaled(4);
  for (std::size_t c = 0; c < list.columns.size() && c < row.texts.size(); ++c) {
    cell.right = cell.left + list.columns[c].width;
    RECT text{cell.left + padding, cell.top, cell.right - padding, cell.bottom};
    DrawTextW(hdc, row.texts[c].c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    cell.left = cell.right;
  }
}

void DrawScrollBar(HWND hwnd) {
  const int width = hwnd->nonClientRight;
  if (width <= 0) {
    return;
  }
  const int height = hwnd->rect.bottom - hwnd->rect.top;
  const int left = hwnd->rect.right - hwnd->rect.left - width;
  HDC hdc = GetWholeWindowDC(hwnd);
  FillWith(hdc, RECT{left, 0, left + width, height}, kScrollTrack);
  const int content = std::max(1, ContentHeight(hwnd));
  const int thumb = std::clamp(height * height / content, width, height);
  const int range = std::max(1, content - height);
  const int top = (height - thumb) * ListViewOf(hwnd).scroll / range;
  FillWith(hdc, RECT{left, top, left + width, top + thumb}, kScrollThumb);
  ReleaseDC(hwnd, hdc);
}

void Paint(HWND hwnd) {
  ListViewState& list = ListViewOf(hwnd);
  const bool ownerDrawn = (hwnd->style & LVS_OWNERDRAWFIXED) != 0;
  const int rowHeight = RowHeight(hwnd);
  PAINTSTRUCT paint;
  HDC hdc = BeginPaint(hwnd, &paint);
  SetBkMode(hdc, TRANSPARENT);
  RECT client;
  GetClientRect(hwnd, &client);
  const int first = list.scroll / rowHeight;
  const int end = std::min<int>(static_cast<int>(list.rows.size()),
                                (list.scroll + client.bottom + rowHeight - 1) / rowHeight);
  for (int i = first; i < end; ++i) {
    const RECT rect = RowRect(hwnd, i);
    if (rect.bottom <= paint.rcPaint.top || rect.top >= paint.rcPaint.bottom) {
      continue;
    }
    const ListViewRow& row = list.rows[static_cast<std::size_t>(i)];
    if (!ownerDrawn) {
      DrawRowItself(hdc, list, row, rect);
      continue;
    }
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTVIEW;
    item.CtlID = static_cast<UINT>(hwnd->id);
    item.itemID = static_cast<UINT>(i);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ((row.state & LVIS_SELECTED) != 0 ? ODS_SELECTED : 0) |
                     ((row.state & LVIS_FOCUSED) != 0 && GetFocus() == hwnd ? ODS_FOCUS : 0);
    item.hwndItem = hwnd;
    item.hDC = hdc;
    item.rcItem = rect;
    item.itemData = static_cast<ULONG_PTR>(row.param);
    SendMessageW(hwnd->parent, WM_DRAWITEM, static_cast<WPARAM>(hwnd->id),
                 reinterpret_cast<LPARAM>(&item));
  }
  const int rowsEnd = static_cast<int>(list.rows.size()) * rowHeight - list.scroll;
  if (rowsEnd < client.bottom) {
    FillWith(hdc, RECT{0, std::max(0, rowsEnd), client.right, client.bottom}, list.background);
  }
  EndPaint(hwnd, &paint);
  DrawScrollBar(hwnd);
}

void Notify(HWND hwnd, UINT code, int row, POINT point) {
  if (hwnd->parent == nullptr) {
    return;
  }
  NMITEMACTIVATE note{};
  note.hdr = NMHDR{hwnd, static_cast<UINT_PTR>(hwnd->id), code};
  note.iItem = row;
  note.ptAction = point;
  SendMessageW(hwnd->parent, WM_NOTIFY, static_cast<WPARAM>(hwnd->id),
               reinterpret_cast<LPARAM>(&note));
}

int RowAt(HWND hwnd, int y) {
  const ListViewState& list = ListViewOf(hwnd);
  if (y < 0) {
    return -1;
  }
  const int row = (y + list.scroll) / RowHeight(hwnd);
  return row < static_cast<int>(list.rows.size()) ? row : -1;
}

int CurrentRow(const ListViewState& list) {
  for (UINT wanted : {LVIS_FOCUSED, LVIS_SELECTED}) {
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
      if ((list.rows[i].state & wanted) != 0) {
        return static_cast<int>(i);
      }
    }
  }
  return -1;
}

void OnPress(HWND hwnd, POINT p) {
  ListViewState& list = ListViewOf(hwnd);
  SetFocus(hwnd);
  KillTimer(hwnd, kFlingTimer);
  RECT client;
  GetClientRect(hwnd, &client);
  if (p.x >= client.right) {
    // On the scroll bar: a page towards the tap.
    const int thumbCentre = client.bottom * list.scroll / std::max(1, ContentHeight(hwnd));
    ScrollTo(hwnd, list.scroll + (p.y < thumbCentre ? -client.bottom : client.bottom));
    return;
  }
  list.pressed = true;
  list.dragging = false;
  list.pressPoint = p;
  list.lastY = p.y;
  list.lastMove = Clock::now();
  list.velocity = 0;
}

void OnMove(HWND hwnd, POINT p) {
  ListViewState& list = ListViewOf(hwnd);
  if (!list.pressed) {
    return;
  }
  if (!list.dragging && std::abs(p.y - list.pressPoint.y) > Scaled(8)) {
    list.dragging = true;
  }
  const Clock::time_point now = Clock::now();
  if (list.dragging) {
    const int dy = p.y - list.lastY;
    const double ms =
        std::max(1.0, std::chrono::duration<double, std::milli>(now - list.lastMove).count());
    list.velocity = dy / ms;
    ScrollTo(hwnd, list.scroll - dy);
  }
  list.lastY = p.y;
  list.lastMove = now;
}

void OnRelease(HWND hwnd) {
  ListViewState& list = ListViewOf(hwnd);
  if (!list.pressed) {
    return;
  }
  list.pressed = false;
  if (list.dragging) {
    if (Clock::now() - list.lastMove < kHeldStill && std::abs(list.velocity) >= kFlingMinimum) {
      SetTimer(hwnd, kFlingTimer, kFlingStepMs, nullptr);
    }
    return;
  }
  const int row = RowAt(hwnd, list.pressPoint.y);
  SelectOnly(hwnd, row);
  Notify(hwnd, NM_CLICK, row, list.pressPoint);
}

void OnFlingStep(HWND hwnd) {
  ListViewState& list = ListViewOf(hwnd);
  const int before = list.scroll;
  ScrollTo(hwnd, list.scroll - static_cast<int>(std::lround(list.velocity * kFlingStepMs)));
  list.velocity *= kFlingDecay;
  if (list.scroll == before || std::abs(list.velocity) < kFlingStop) {
    KillTimer(hwnd, kFlingTimer);
  }
}

void OnKey(HWND hwnd, UINT key) {
  ListViewState& list = ListViewOf(hwnd);
  const int count = static_cast<int>(list.rows.size());
  if (key == VK_RETURN) {
    Notify(hwnd, NM_RETURN, CurrentRow(list), POINT{});
    return;
  }
  if ((key != VK_UP && key != VK_DOWN) || count == 0) {
    return;
  }
  const int current = CurrentRow(list);
  const int next = current < 0 ? 0 : std::clamp(current + (key == VK_DOWN ? 1 : -1), 0, count - 1);
  SelectOnly(hwnd, next);
  EnsureVisible(hwnd, next);
}

POINT PointOf(LPARAM lParam) {
  return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

ListViewState& ListViewOf(HWND hwnd) {
  return ControlStateOf<ListViewState>(hwnd);
}

int RowHeight(HWND hwnd) {
  ListViewState& list = ListViewOf(hwnd);
  if (list.rowHeight <= 0) {
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_LISTVIEW;
    measure.CtlID = static_cast<UINT>(hwnd->id);
    measure.itemHeight = static_cast<UINT>(Scaled(17));
    if ((hwnd->style & LVS_OWNERDRAWFIXED) != 0 && hwnd->parent != nullptr) {
      SendMessageW(hwnd->parent, WM_MEASUREITEM, static_cast<WPARAM>(hwnd->id),
                   reinterpret_cast<LPARAM>(&measure));
    }
    list.rowHeight = std::max(1, static_cast<int>(measure.itemHeight));
  }
  return list.rowHeight;
}

RECT RowRect(HWND hwnd, int row) {
  const int height = RowHeight(hwnd);
  const int top = row * height - ListViewOf(hwnd).scroll;
  return RECT{0, top, RowsWidth(hwnd), top + height};
}

void InvalidateRow(HWND hwnd, int row) {
  const RECT rect = RowRect(hwnd, row);
  InvalidateRect(hwnd, &rect, TRUE);
}

void RowsChanged(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
  UpdateScrollBar(hwnd);
}

void EnsureVisible(HWND hwnd, int row) {
  const RECT rect = RowRect(hwnd, row);
  const int height = ClientHeight(hwnd);
  const int scroll = ListViewOf(hwnd).scroll;
  if (rect.top < 0) {
    ScrollTo(hwnd, scroll + rect.top);
  } else if (rect.bottom > height) {
    ScrollTo(hwnd, scroll + rect.bottom - height);
  }
}

void SelectOnly(HWND hwnd, int row) {
  ListViewState& list = ListViewOf(hwnd);
  for (std::size_t i = 0; i < list.rows.size(); ++i) {
    const UINT wanted = static_cast<int>(i) == row ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    const UINT state = (list.rows[i].state & ~(LVIS_SELECTED | LVIS_FOCUSED)) | wanted;
    if (state != list.rows[i].state) {
      list.rows[i].state = state;
      InvalidateRow(hwnd, static_cast<int>(i));
    }
  }
}

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleListViewMessage(hwnd, message, wParam, lParam, &result)) {
    return result;
  }
  switch (message) {
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      FillWith(reinterpret_cast<HDC>(wParam), client, ListViewOf(hwnd).background);
      return 1;
    }
    case WM_SIZE:
      UpdateScrollBar(hwnd);
      return 0;
    case WM_LBUTTONDOWN:
      OnPress(hwnd, PointOf(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMove(hwnd, PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnRelease(hwnd);
      return 0;
    case WM_MOUSEWHEEL:
      KillTimer(hwnd, kFlingTimer);
      ScrollTo(hwnd, ListViewOf(hwnd).scroll -
                         GET_WHEEL_DELTA_WPARAM(wParam) * RowHeight(hwnd) / WHEEL_DELTA);
      return 0;
    case WM_TIMER:
      if (wParam == kFlingTimer) {
        OnFlingStep(hwnd);
      }
      return 0;
    case WM_KEYDOWN:
      OnKey(hwnd, static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      // A list has no use for characters: its parent may (typing on a list to search it).
      if (hwnd->parent != nullptr) {
        SendMessageW(hwnd->parent, WM_CHAR, wParam, lParam);
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const int current = CurrentRow(ListViewOf(hwnd));
      if (current >= 0) {
        InvalidateRow(hwnd, current);
      }
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace winsys
