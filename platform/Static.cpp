// The "Static" control: one line of text in the system font, aligned by SS_CENTER / SS_RIGHT
// and centred vertically; with SS_NOTIFY a tap sends WM_COMMAND with its id to the parent.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace winsys {
namespace {

// The parent may choose the colours (WM_CTLCOLORSTATIC); otherwise light text on black, which
// reads well on a dark screen.
constexpr COLORREF kDefaultText = RGB(200, 200, 200);
constexpr COLORREF kDefaultBackground = RGB(0, 0, 0);

void Paint(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC hdc = BeginPaint(hwnd, &paint);
  RECT client;
  GetClientRect(hwnd, &client);
  SetTextColor(hdc, kDefaultText);
  SetBkColor(hdc, kDefaultBackground);
  auto brush = hwnd->parent != nullptr
                   ? reinterpret_cast<HBRUSH>(SendMessageW(hwnd->parent, WM_CTLCOLORSTATIC,
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
  SetBkMode(hdc, TRANSPARENT);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if ((hwnd->style & SS_CENTER) != 0) {
    format |= DT_CENTER;
  } else if ((hwnd->style & SS_RIGHT) != 0) {
    format |= DT_RIGHT;
  }
  std::wstring text;
  {
    MutexLock lock(windowLock);
    text = hwnd->text;
  }
  DrawTextW(hdc, text.c_str(), -1, &client, format);
  EndPaint(hwnd, &paint);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole control
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_LBUTTONDOWN:
      if ((hwnd->style & SS_NOTIFY) != 0 && hwnd->parent != nullptr) {
        SendMessageW(hwnd->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(hwnd->id), STN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      }
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace winsys
