// The shell and COM start-up calls. The screen is already the program's alone (full screen or
// a window of the pocket screen's size), so they have nothing to change.
#include "platform/Win32.h"

namespace {

thread_local int comStarts = 0;

}  // namespace

BOOL SHInitExtraControls() {
  return TRUE;
}

BOOL SHFullScreen(HWND hwnd, DWORD) {
  return IsWindow(hwnd);
}

HRESULT SHHandleWMSettingChange(HWND, WPARAM, LPARAM, SHACTIVATEINFO*) {
  return S_OK;
}

HRESULT CoInitializeEx(LPVOID, DWORD) {
  return comStarts++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (comStarts > 0) {
    --comStarts;
  }
}
