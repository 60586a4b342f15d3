// The drawing calls of the window system's graphics interface, on Cairo image surfaces, with
// their documented meaning for the subset the program uses. Window contexts (GetDC, BeginPaint)
// come from the window system; memory contexts and everything else are here.
// Implementation: platform/Gdi*.cpp.
#pragma once

#include "platform/GdiObjects.h"
#include "platform/Win32Types.h"

struct BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat;
};

constexpr BYTE AC_SRC_OVER = 0x00;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// GetStockObject.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// GetDeviceCaps.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// DrawTextW formats.
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;

constexpr DWORD CLR_INVALID = 0xFFFFFFFF;

// Contexts. A memory context starts with a 1 x 1 stock bitmap selected, on which nothing is
// drawn; select a bitmap from CreateCompatibleBitmap to draw off-screen.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);

// Objects. Stock objects are never freed. Deleting a pen or brush that is still selected into a
// context fails (FALSE) as documented, but the object is then freed once no context holds it,
// so nothing leaks and nothing dangles. A bitmap selected into a context cannot be deleted.
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);  // width 0 draws one pixel wide
// A colour bitmap, opaque black at first. Zero or negative sizes give the 1 x 1 stock bitmap;
// null when the size cannot be allocated.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HGDIOBJ GetStockObject(int index);
// Returns the object of the same kind selected before, or null when the context or the object
// is not valid (a bitmap already selected into another context, a region).
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

// Attributes.
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
int SetBkMode(HDC hdc, int mode);
int GetDeviceCaps(HDC hdc, int index);

// Drawing. Rectangles exclude their right and bottom edges.
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
// Filled with the selected brush and outlined with the selected pen, with elliptic corners of
// the given width and height.
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
// Lays the text out with the context's font, shaped for any script with installed fonts as
// fallback, and clipped to the rectangle unless DT_NOCLIP. `count` -1 means up to the
// terminator. Returns the height of the text; DT_CALCRECT measures into `rect` and draws nothing.
// '&' is drawn as itself: no mnemonic prefixes are processed.
int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT* rect, UINT format);
// Stretches the source rectangle over the destination rectangle with the constant alpha of
// `blend` (AC_SRC_OVER), over the source's own premultiplied alpha.
BOOL AlphaBlend(HDC destination, int xDest, int yDest, int widthDest, int heightDest, HDC source,
                int xSource, int ySource, int widthSource, int heightSource, BLENDFUNCTION blend);
