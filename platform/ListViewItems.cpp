// The list view's LVM_* messages on columns, rows, texts and item states.
#include <algorithm>

#include "platform/ListView.h"

namespace winsys {
namespace {

bool ValidRow(const ListViewState& list, WPARAM row) {
  return static_cast<std::size_t>(row) < list.rows.size();
}

std::wstring& TextOf(ListViewRow& row, int subItem) {
  if (row.texts.size() <= static_cast<std::size_t>(subItem)) {
    row.texts.resize(static_cast<std::size_t>(subItem) + 1);
  }
  return row.texts[static_cast<std::size_t>(subItem)];
}

// Copies into the caller's buffer, cut to fit with its terminator. Returns the characters copied.
int CopyOut(const std::wstring& text, LPWSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) {
    return 0;
  }
  const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size) - 1);
  std::copy_n(text.begin(), count, buffer);
  buffer[count] = L'\0';
  return static_cast<int>(count);
}

void SetState(HWND hwnd, ListViewState& list, std::size_t row, UINT state, UINT mask) {
  ListViewRow& r = list.rows[row];
  const UINT updated = (r.state & ~mask) | (state & mask);
  if ((updated & LVIS_FOCUSED) != 0 && (r.state & LVIS_FOCUSED) == 0) {
    // Only one row holds the focus.
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
      if (i != row && (list.rows[i].state & LVIS_FOCUSED) != 0) {
        list.rows[i].state &= ~LVIS_FOCUSED;
        InvalidateRow(hwnd, static_cast<int>(i));
      }
    }
  }
  if (updated != r.state) {
    r.state = updated;
    InvalidateRow(hwnd, static_cast<int>(row));
  }
}

// Applies the fields an LVITEMW's mask names to a row.
bool SetItem(HWND hwnd, ListViewState& list, const LVITEMW& item) {
  if (!ValidRow(list, static_cast<WPARAM>(item.iItem)) || item.iSubItem < 0) {
    return false;
  }
  ListViewRow& row = list.rows[static_cast<std::size_t>(item.iItem)];
  if ((item.mask & LVIF_TEXT) != 0) {
    TextOf(row, item.iSubItem) = item.pszText != nullptr ? item.pszText : L"";
    InvalidateRow(hwnd, item.iItem);
  }
  if (item.iSubItem == 0) {
    if ((item.mask & LVIF_STATE) != 0) {
      SetState(hwnd, list, static_cast<std::size_t>(item.iItem), item.state, item.stateMask);
    }
    if ((item.mask & LVIF_PARAM) != 0) {
      row.param = item.lParam;
    }
  }
  return true;
}

LRESULT InsertColumn(ListViewState& list, WPARAM at, const LVCOLUMNW* column) {
  if (column == nullptr) {
    return -1;
  }
  const std::size_t index = std::min<std::size_t>(at, list.columns.size());
  ListViewColumn made;
  if ((column->mask & LVCF_TEXT) != 0 && column->pszText != nullptr) {
    made.text = column->pszText;
  }
  if ((column->mask & LVCF_WIDTH) != 0) {
    made.width = std::max(0, column->cx);
  }
  list.columns.insert(list.columns.begin() + static_cast<std::ptrdiff_t>(index), made);
  // The rows' texts move right with their columns.
  for (ListViewRow& row : list.rows) {
    if (row.texts.size() > index) {
      row.texts.insert(row.texts.begin() + static_cast<std::ptrdiff_t>(index), std::wstring());
    }
  }
  return static_cast<LRESULT>(index);
}

LRESULT InsertItem(HWND hwnd, ListViewState& list, const LVITEMW* item) {
  if (item == nullptr || item->iSubItem != 0 || item->iItem < 0) {
    return -1;
  }
  const std::size_t index =
      std::min<std::size_t>(static_cast<std::size_t>(item->iItem), list.rows.size());
  ListViewRow row;
  row.texts.resize(std::max<std::size_t>(1, list.columns.size()));
  if ((item->mask & LVIF_TEXT) != 0 && item->pszText != nullptr) {
    row.texts[0] = item->pszText;
  }
  if ((item->mask & LVIF_STATE) != 0) {
    row.state = item->state & item->stateMask;
  }
  if ((item->mask & LVIF_PARAM) != 0) {
    row.param = item->lParam;
  }
  list.rows.insert(list.rows.begin() + static_cast<std::ptrdiff_t>(index), std::move(row));
  RowsChanged(hwnd);
  return static_cast<LRESULT>(index);
}

LRESULT NextItem(const ListViewState& list, WPARAM start, LPARAM flags) {
  const auto count = static_cast<LRESULT>(list.rows.size());
  for (LRESULT i = static_cast<LRESULT>(static_cast<int>(start)) + 1; i < count; ++i) {
    const UINT state = list.rows[static_cast<std::size_t>(i)].state;
    if (((flags & LVNI_SELECTED) == 0 || (state & LVIS_SELECTED) != 0) &&
        ((flags & LVNI_FOCUSED) == 0 || (state & LVIS_FOCUSED) != 0)) {
      return i;
    }
  }
  return -1;
}

}  // namespace

bool HandleListViewMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  ListViewState& list = ListViewOf(hwnd);
  auto* item = reinterpret_cast<LVITEMW*>(lParam);
  switch (message) {
    case LVM_INSERTCOLUMNW:
      *result = InsertColumn(list, wParam, reinterpret_cast<const LVCOLUMNW*>(lParam));
      InvalidateRect(hwnd, nullptr, TRUE);
      return true;
    case LVM_SETCOLUMNWIDTH:
      *result = wParam < list.columns.size() ? TRUE : FALSE;
      if (*result) {
        list.columns[wParam].width =
            std::max(0, static_cast<int>(static_cast<short>(LOWORD(lParam))));
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return true;
    case LVM_GETCOLUMNWIDTH:
      *result = wParam < list.columns.size() ? list.columns[wParam].width : 0;
      return true;
    case LVM_INSERTITEMW:
      *result = InsertItem(hwnd, list, item);
      return true;
    case LVM_SETITEMW:
      *result = item != nullptr && SetItem(hwnd, list, *item) ? TRUE : FALSE;
      return true;
    case LVM_SETITEMTEXTW:
      if (item == nullptr) {
        *result = FALSE;
        return true;
      }
      {
        LVITEMW text = *item;
        text.iItem = static_cast<int>(wParam);
        text.mask = LVIF_TEXT;
        *result = SetItem(hwnd, list, text) ? TRUE : FALSE;
      }
      return true;
    case LVM_GETITEMTEXTW:
      *result = 0;
      if (item != nullptr && ValidRow(list, wParam) && item->iSubItem >= 0) {
        *result =
            CopyOut(TextOf(list.rows[wParam], item->iSubItem), item->pszText, item->cchTextMax);
      } else if (item != nullptr) {
        CopyOut(L"", item->pszText, item->cchTextMax);
      }
      return true;
    case LVM_GETITEMW:
      *result = FALSE;
      if (item != nullptr && ValidRow(list, static_cast<WPARAM>(item->iItem)) &&
          item->iSubItem >= 0) {
        ListViewRow& row = list.rows[static_cast<std::size_t>(item->iItem)];
        if ((item->mask & LVIF_TEXT) != 0) {
          CopyOut(TextOf(row, item->iSubItem), item->pszText, item->cchTextMax);
        }
        if ((item->mask & LVIF_STATE) != 0) {
          item->state = row.state & item->stateMask;
        }
        if ((item->mask & LVIF_PARAM) != 0) {
          item->lParam = row.param;
        }
        *result = TRUE;
      }
      return true;
    case LVM_DELETEITEM:
      *result = ValidRow(list, wParam) ? TRUE : FALSE;
      if (*result) {
        list.rows.erase(list.rows.begin() + static_cast<std::ptrdiff_t>(wParam));
        RowsChanged(hwnd);
      }
      return true;
    case LVM_DELETEALLITEMS:
      list.rows.clear();
      list.scroll = 0;
      RowsChanged(hwnd);
      *result = TRUE;
      return true;
    case LVM_GETITEMCOUNT:
      *result = static_cast<LRESULT>(list.rows.size());
      return true;
    case LVM_SETITEMSTATE:
      *result = FALSE;
      if (item != nullptr && static_cast<int>(wParam) == -1) {
        for (std::size_t i = 0; i < list.rows.size(); ++i) {
          SetState(hwnd, list, i, item->state, item->stateMask);
        }
        *result = TRUE;
      } else if (item != nullptr && ValidRow(list, wParam)) {
        SetState(hwnd, list, wParam, item->state, item->stateMask);
        *result = TRUE;
      }
      return true;
    case LVM_GETITEMSTATE:
      *result = ValidRow(list, wParam) ? list.rows[wParam].state & static_cast<UINT>(lParam) : 0;
      return true;
    case LVM_GETSELECTEDCOUNT:
      *result = std::count_if(list.rows.begin(), list.rows.end(),
                              [](const ListViewRow& r) { return (r.state & LVIS_SELECTED) != 0; });
      return true;
    case LVM_GETNEXTITEM:
      *result = NextItem(list, wParam, lParam);
      return true;
    case LVM_SETBKCOLOR:
      list.background = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      *result = TRUE;
      return true;
    case LVM_GETBKCOLOR:
      *result = static_cast<LRESULT>(list.background);
      return true;
    case LVM_ENSUREVISIBLE:
      *result = ValidRow(list, wParam) ? TRUE : FALSE;
      if (*result) {
        EnsureVisible(hwnd, static_cast<int>(wParam));
      }
      return true;
    case LVM_GETTOPINDEX:
      *result = list.scroll / RowHeight(hwnd);
      return true;
    case LVM_GETCOUNTPERPAGE: {
      RECT client;
      GetClientRect(hwnd, &client);
      *result = client.bottom / RowHeight(hwnd);
      return true;
    }
    case LVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      *result = rect != nullptr && ValidRow(list, wParam) ? TRUE : FALSE;
      if (*result) {
        *rect = RowRect(hwnd, static_cast<int>(wParam));
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace winsys
