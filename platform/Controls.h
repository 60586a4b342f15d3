// The built-in control classes: "SysListView32", "Button" and "Static". Not for code outside
// platform/.
#pragma once

#include "platform/Win32.h"

namespace winsys {

// Registers the built-in classes once; CreateWindowExW calls it before looking a class up.
void RegisterControlClasses();

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Fills a control's client area with its parent's class brush, so that what the control leaves
// undrawn looks like the parent behind it. 1 when filled.
LRESULT EraseWithParentBrush(HWND hwnd, HDC hdc);

}  // namespace winsys
