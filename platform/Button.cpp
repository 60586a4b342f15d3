// The "Button" control, owner-drawn: its parent draws it (WM_DRAWITEM); a tap on it sends
// WM_COMMAND with its id to the parent.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace winsys {
namespace {

struct ButtonState : ControlState {
  bool pressed = false;
};

ButtonState& StateOf(HWND hwnd) {
  return ControlStateOf<ButtonState>(hwnd);
}

void Paint(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC hdc = BeginPaint(hwnd, &paint);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(hwnd->id);
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState =
      (StateOf(hwnd).pressed ? ODS_SELECTED : 0) | (GetFocus() == hwnd ? ODS_FOCUS : 0);
  item.hwndItem = hwnd;
  item.hDC = hdc;
  GetClientRect(hwnd, &item.rcItem);
  if (hwnd->parent != nullptr) {
    SendMessageW(hwnd->parent, WM_DRAWITEM, static_cast<WPARAM>(hwnd->id),
                 reinterpret_cast<LPARAM>(&item));
  }
  EndPaint(hwnd, &paint);
}

bool Inside(HWND hwnd, LPARAM point) {
  RECT client;
  GetClientRect(hwnd, &client);
  const int x = GET_X_LPARAM(point);
  const int y = GET_Y_LPARAM(point);
  return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return EraseWithParentBrush(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
      StateOf(hwnd).pressed = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = StateOf(hwnd).pressed;
      StateOf(hwnd).pressed = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      if (wasPressed && Inside(hwnd, lParam)) {
        CommandToParent(hwnd, static_cast<WORD>(hwnd->id), BN_CLICKED);
      }
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace winsys
