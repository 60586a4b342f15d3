// The built-in control classes: "SysListView32", "Button", "Static" and "Edit". Not for code
// outside platform/.
#pragma once

#include "platform/Win32.h"

namespace winsys {

// Registers the built-in classes once; CreateWindowExW calls it before looking a class up.
void RegisterControlClasses();

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Tells the control's parent, if it has one, of `code` as WM_COMMAND with `id`.
void CommandToParent(HWND hwnd, WORD id, WORD code);

// Fills a control's client area with its parent's class brush, so that what the control leaves
// undrawn looks like the parent behind it. 1 when filled.
LRESULT EraseWithParentBrush(HWND hwnd, HDC hdc);

// WM_PAINT of a one-line text control: the background from the parent's answer to
// `colourMessage` (black without one), the window's text centred vertically and aligned by the
// style, and with `caret` a caret right after the text. Window's thread.
void PaintTextLine(HWND hwnd, UINT colourMessage, bool caret);
// WM_SETTEXT of a one-line text control: the text taken as any window takes it, then shown.
LRESULT SetTextLine(HWND hwnd, WPARAM wParam, LPARAM lParam);

}  // namespace winsys
