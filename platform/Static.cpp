// The "Static" control: one line of text in the system font, aligned by SS_CENTER / SS_RIGHT
// and centred vertically; with SS_NOTIFY a tap sends WM_COMMAND with its id to the parent.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace winsys {

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintTextLine(hwnd, WM_CTLCOLORSTATIC, false);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole control
    case WM_SETTEXT:
      return SetTextLine(hwnd, wParam, lParam);
    case WM_LBUTTONDOWN:
      if ((hwnd->style & SS_NOTIFY) != 0) {
        CommandToParent(hwnd, static_cast<WORD>(hwnd->id), STN_CLICKED);
      }
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace winsys
