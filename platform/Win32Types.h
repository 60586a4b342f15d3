// Basic types of the window-system interface the program is written against. Handles are
// pointers to this platform's own objects; every other header of platform/ builds on this one.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using BOOL = int;
using WCHAR = wchar_t;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using ATOM = WORD;
using COLORREF = DWORD;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using HRESULT = LONG;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define WINAPI
#define CALLBACK

// Window system objects (platform/Window*.cpp).
struct Window;
using HWND = Window*;
struct Module;
using HINSTANCE = Module*;
using HMODULE = Module*;
struct Menu;  // a child window's id travels as an HMENU
using HMENU = Menu*;
struct Icon;
using HICON = Icon*;
using HCURSOR = Icon*;
struct KernelObject;  // threads and other waitable objects
using HANDLE = KernelObject*;

// Drawing objects (platform/Gdi*.cpp). A brush, pen, bitmap or region is a GDI object:
// SelectObject and DeleteObject take any of them.
struct DeviceContext;
using HDC = DeviceContext*;
struct GdiObject;
struct GdiBrush;
struct GdiPen;
struct GdiBitmap;
struct GdiRegion;
using HGDIOBJ = GdiObject*;
using HBRUSH = GdiBrush*;
using HPEN = GdiPen*;
using HBITMAP = GdiBitmap*;
using HRGN = GdiRegion*;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct POINT {
  LONG x;
  LONG y;
};

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
         (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
  return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
  return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
  return static_cast<BYTE>((c >> 16) & 0xFF);
}

constexpr WORD LOWORD(std::uintptr_t v) {
  return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
  return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
  return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
