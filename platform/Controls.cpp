#include "platform/Controls.h"

#include <mutex>

#include "platform/Paint.h"
#include "platform/Window.h"

namespace winsys {

void RegisterControlClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    const struct {
      LPCWSTR name;
      WNDPROC procedure;
    } builtIn[] = {
        {L"SysListView32", ListViewProc},
        {L"Button", ButtonProc},
        {L"Static", StaticProc},
        {L"Edit", EditProc},
    };
    for (const auto& control : builtIn) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = control.procedure;
      wc.lpszClassName = control.name;
      RegisterClassW(&wc);
    }
  });
}

void CommandToParent(HWND hwnd, WORD id, WORD code) {
  if (hwnd->parent != nullptr) {
    SendMessageW(hwnd->parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
  }
}

LRESULT EraseWithParentBrush(HWND hwnd, HDC hdc) {
  Window* parent = Live(hwnd) != nullptr ? hwnd->parent : nullptr;
  if (parent == nullptr || parent->windowClass->background == nullptr) {
    return 0;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  return FillRect(hdc, &client, parent->windowClass->background) != 0 ? 1 : 0;
}

}  // namespace winsys
