#include <string>

#include "app/Colours.h"
#include "app/Painting.h"
#include "directory/WebClient.h"
#include "shell/ControlIds.h"
#include "shell/ListSelection.h"
#include "shell/MainWindowState.h"

namespace {

constexpr int rowCorner = 10;
constexpr int rowTextLeft = 8;
constexpr int rowTextTop = 18;
constexpr int rowTextRightMargin = 10;
// A row's logo square is the row's height less a tenth of it above and below.
constexpr int rowLogoMarginShare = 10;

// An image button looks the same in every state: its face image and nothing else.
void DrawButtonFace(const DRAWITEMSTRUCT* item, LPCWSTR imageName) {
  const std::wstring path = std::wstring(applicationFolder) + imageName;
  DrawImageFile(item->hDC, path.c_str(), item->rcItem);
}

// In a station list with logos: the row's logo, fitted into a square at its left, or an empty
// square without one. Returns where the row's text starts.
int DrawRowLogo(HDC dc, const RECT& whole, int row, const std::wstring& id) {
  const int margin = (whole.bottom - whole.top) / rowLogoMarginShare;
  const int side = whole.bottom - whole.top - 2 * margin;
  const std::wstring logo = KeptLogo(webClient.folder, id);
  if (!logo.empty()) {
    DrawLogoFile(
        dc, logo.c_str(),
        RECT{rowTextLeft, whole.top + margin, rowTextLeft + side, whole.top + margin + side});
  }
  webClient.logos.RowOnScreen(row);
  return rowTextLeft + side + rowTextLeft;
}

}  // namespace

void DrawOwnerItem(HWND window, int controlId, const DRAWITEMSTRUCT* item) {
  switch (controlId) {
    case ID_STATION_LIST:
    case ID_GENRE_LIST:
      DrawListRow(window, item, controlId);
      break;
    case ID_BACK:
      DrawButtonFace(item, L"back.png");
      break;
    case ID_EXIT:
      DrawButtonFace(item, L"exit.png");
      break;
    case ID_ADD:
      DrawButtonFace(item, L"add.png");
      break;
    default:
      break;
  }
}

void DrawListRow(HWND window, const DRAWITEMSTRUCT* item, int listId) {
  HWND list = GetDlgItem(window, listId);
  const int row = static_cast<int>(item->itemID);
  const std::wstring text = RowText(list, row, 0);

  HDC dc = item->hDC;
  const RECT& whole = item->rcItem;
  RECT textRect = {rowTextLeft, whole.top + rowTextTop, whole.right - rowTextRightMargin,
                   whole.bottom};
  const bool withLogo = listId == ID_STATION_LIST && webClient.logos.ListHasLogos();
  SetTextColor(dc, rowTextColour);
  if (item->itemState & ODS_SELECTED) {
    HBRUSH brush = CreateSolidBrush(panelColour);
    HGDIOBJ previous = SelectObject(dc, brush);
    RoundRect(dc, whole.left, whole.top, whole.right, whole.bottom, rowCorner, rowCorner);
    SelectObject(dc, previous);
    DeleteObject(brush);
    SetTextColor(dc, panelTextColour);
  } else {
    HBRUSH black = CreateSolidBrush(backgroundColour);
    FillRect(dc, &whole, black);
    DeleteObject(black);
  }
  if (withLogo) {
    textRect.left = DrawRowLogo(dc, whole, row, RowText(list, row, 1));
  }
  DrawTextW(dc, text.c_str(), -1, &textRect, DT_WORDBREAK);
}
