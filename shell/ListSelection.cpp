#include "shell/ListSelection.h"

#include "platform/Win32.h"
#include "shell/TextBuffer.h"

int ChosenRow(HWND list) {
  const LRESULT row = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                   static_cast<LPARAM>(LVNI_SELECTED));
  return row < 0 ? 0 : static_cast<int>(row);
}

std::wstring RowText(HWND list, int row, int column) {
  WCHAR text[kMaxTextCharacters + 1] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(kMaxTextCharacters + 1);
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}
