// Painting of the one-line text controls, "Static" and "Edit", and their new texts.
#include <algorithm>

#include "platform/Controls.h"
#include "platform/Window.h"

namespace winsys {
namespace {

// The parent may choose the colours (WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT); otherwise light text
// on black, which reads well on a dark screen.
constexpr COLORREF kDefaultText = RGB(200, 200, 200);
constexpr COLORREF kDefaultBackground = RGB(0, 0, 0);
constexpr int kCaretWidth = 2;
constexpr int kCaretGap = 1;

void FillBackground(HWND hwnd, HDC hdc, UINT colourMessage, const RECT& client) {
  auto brush = hwnd->parent != nullptr
                   ? reinterpret_cast<HBRUSH>(SendMessageW(hwnd->parent, colourMessage,
                                                           reinterpret_cast<WPARAM>(hdc),
                                                           reinterpret_cast<LPARAM>(hwnd)))
                   : nullptr;
  if (brush != nullptr) {
    FillRect(hdc, &client, brush);
  } else {
    HBRUSH background = CreateSolidBrush(kDefaultBackground);
    FillRect(hdc, &client, background);
    DeleteObject(background);
  }
}

// The text laid out by hand, so that the caret can stand right after it: centred (or at the
// left), and when the line is too narrow, its end kept in view, where typing happens.
void DrawTextWithCaret(HDC hdc, const std::wstring& text, const RECT& client, bool centred) {
  RECT measure{0, 0, 0, 0};
  if (!text.empty()) {
    DrawTextW(hdc, text.c_str(), -1, &measure, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  }
  const LONG width = measure.right + kCaretGap + kCaretWidth;
  const LONG room = client.right - client.left;
  LONG left = centred ? client.left + (room - width) / 2 : client.left;
  left = std::min(left, client.right - width);
  RECT textRect{left, client.top, left + measure.right, client.bottom};
  DrawTextW(hdc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
  const LONG caretTop = client.top + (client.bottom - client.top) / 5;
  const RECT caret{textRect.right + kCaretGap, caretTop, textRect.right + kCaretGap + kCaretWidth,
                   client.bottom - caretTop};
  HBRUSH ink = CreateSolidBrush(GetTextColor(hdc));
  FillRect(hdc, &caret, ink);
  DeleteObject(ink);
}

}  // namespace

void PaintTextLine(HWND hwnd, UINT colourMessage, bool caret) {
  PAINTSTRUCT paint;
  HDC hdc = BeginPaint(hwnd, &paint);
  RECT client;
  GetClientRect(hwnd, &client);
  SetTextColor(hdc, kDefaultText);
  SetBkColor(hdc, kDefaultBackground);
  FillBackground(hwnd, hdc, colourMessage, client);
  SetBkMode(hdc, TRANSPARENT);
  std::wstring text;
  {
    MutexLock lock(windowLock);
    text = hwnd->text;
  }
  // SS_CENTER and ES_CENTER are the same bit, as are SS_RIGHT and ES_RIGHT.
  const bool centred = (hwnd->style & SS_CENTER) != 0;
  if (caret) {
    DrawTextWithCaret(hdc, text, client, centred);
  } else {
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (centred) {
      format |= DT_CENTER;
    } else if ((hwnd->style & SS_RIGHT) != 0) {
      format |= DT_RIGHT;
    }
    DrawTextW(hdc, text.c_str(), -1, &client, format);
  }
  EndPaint(hwnd, &paint);
}

LRESULT SetTextLine(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(hwnd, WM_SETTEXT, wParam, lParam);
  InvalidateRect(hwnd, nullptr, FALSE);
  return result;
}

}  // namespace winsys
