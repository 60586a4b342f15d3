#include "directory/ListRows.h"

#include "directory/FilePaths.h"
#include "directory/TwoFieldLine.h"
#include "platform/Utf8.h"
#include "shell/ControlIds.h"

namespace {

constexpr UINT kEveryRowState = LVIS_FOCUSED | LVIS_SELECTED | LVIS_CUT | LVIS_DROPHILITED;
constexpr COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

void InsertRow(HWND list, int index, const std::wstring& shown, const std::wstring& value) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<LPWSTR>(shown.c_str());
  const LRESULT row = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (row < 0) {
    return;
  }
  item.iSubItem = 1;
  item.pszText = const_cast<LPWSTR>(value.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void DeleteAllRows(HWND list) {
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void InsertFileRows(HWND list, std::wstring_view folder, std::wstring_view fileName) {
  const std::optional<std::wstring> file = FileInFolder(folder, fileName);
  if (!file) {
    return;
  }
  int n = 0;
  for (const TwoFields& line : ReadTwoFieldFile(WideToUtf8(*file))) {
    InsertRow(list, n, line.second, line.first);
    ++n;
  }
}

void SelectFirstRowOnBlack(HWND list) {
  LVITEMW state{};
  state.state = LVIS_SELECTED;
  state.stateMask = kEveryRowState;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  SendMessageW(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(kBlack));
}

void ShowStationList(HWND window, HWND stationList) {
  SetFocus(stationList);
  ShowWindow(GetDlgItem(window, ID_GENRE_LIST), SW_HIDE);
  ShowWindow(stationList, SW_SHOW);
}
