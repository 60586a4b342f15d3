// The paint cycle's inside. Not for code outside platform/.
#pragma once

#include "platform/Win32.h"

struct Window;

namespace winsys {

// The first shown window of the calling thread with something to paint, parents before their
// children; null when there is none.
Window* WindowToPaint();
// DefWindowProcW's WM_ERASEBKGND: fills the client area with the class brush. 1 when filled.
LRESULT EraseWithClassBrush(HWND hwnd, HDC hdc);

// A context on the whole window, its non-client edge included (a control's scroll bar).
// Release with ReleaseDC.
HDC GetWholeWindowDC(HWND hwnd);

}  // namespace winsys
