// The window-system interface the program is written against: the subset it calls, with the
// documented names, types, values and meaning. Windows, messages, controls, threads, timers,
// shell and COM start-up are declared here; drawing (Gdi.h) and text conversion (Text.h) join
// through this header too, so the program includes only this one.
#pragma once

#include <cstddef>

#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Win32Types.h"

using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void(CALLBACK*)(HWND, UINT, UINT_PTR, DWORD);
using LPTHREAD_START_ROUTINE = DWORD(WINAPI*)(LPVOID);
using LPSECURITY_ATTRIBUTES = void*;
using ULONG_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using LPDWORD = DWORD*;

constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
  return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr LRESULT MAKELRESULT(WORD low, WORD high) {
  return MAKELPARAM(low, high);
}
// Signed coordinates packed in a mouse message's lParam.
constexpr int GET_X_LPARAM(LPARAM lp) {
  return static_cast<short>(LOWORD(lp));
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
  return static_cast<short>(HIWORD(lp));
}
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM wp) {
  return static_cast<short>(HIWORD(wp));
}
inline LPWSTR MAKEINTRESOURCEW(UINT id) {
  return reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(id));
}

// ---- Messages ----
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// WM_ACTIVATE's low word.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
// WM_SIZE's wParam.
constexpr WPARAM SIZE_RESTORED = 0;
// Mouse key state in wParam.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr int WHEEL_DELTA = 120;

// PeekMessageW.
constexpr UINT PM_REMOVE = 0x0001;

// ---- Window styles ----
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;

// Static control styles and notification.
constexpr DWORD SS_CENTER = 0x00000001;
constexpr DWORD SS_RIGHT = 0x00000002;
constexpr DWORD SS_NOTIFY = 0x00000100;
constexpr WORD STN_CLICKED = 0;

// Button styles and notification.
constexpr DWORD BS_OWNERDRAW = 0x0000000B;
constexpr WORD BN_CLICKED = 0;

// Edit control styles, notification and messages. A single-line edit sends WM_COMMAND with IDOK
// for Return and IDCANCEL for Escape, as the dialog manager does for its edits.
constexpr DWORD ES_CENTER = 0x0001;
constexpr WORD EN_CHANGE = 0x0300;
constexpr UINT EM_LIMITTEXT = 0x00C5;

// ---- List view ----
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;

constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
constexpr UINT LVM_GETITEMW = LVM_FIRST + 75;
constexpr UINT LVM_SETITEMW = LVM_FIRST + 76;
constexpr UINT LVM_INSERTITEMW = LVM_FIRST + 77;
constexpr UINT LVM_INSERTCOLUMNW = LVM_FIRST + 97;
constexpr UINT LVM_GETITEMTEXTW = LVM_FIRST + 115;
constexpr UINT LVM_SETITEMTEXTW = LVM_FIRST + 116;

// LVM_GETNEXTITEM flags.
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
// Item states.
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;
// LVITEMW masks.
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
// LVCOLUMNW masks.
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
// LVM_GETITEMRECT's area, passed in RECT::left.
constexpr LONG LVIR_BOUNDS = 0;

// Notification codes of WM_NOTIFY.
constexpr UINT NM_FIRST = 0U;
constexpr UINT NM_CLICK = NM_FIRST - 2U;
constexpr UINT NM_RETURN = NM_FIRST - 4U;

// ---- Owner drawing ----
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_LISTVIEW = 102;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_FOCUS = 0x0010;

// ---- System metrics ----
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;

// ---- Message boxes ----
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// ---- Virtual keys ----
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;

// ---- ShowWindow ----
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

// ---- Shell ----
constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;

// ---- COM ----
constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

// ---- Threads ----
constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// ---- Structures ----
struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
};

struct CREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
};

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
};

struct MEASUREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemWidth;
  UINT itemHeight;
  ULONG_PTR itemData;
};

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};

// What a list view sends with NM_CLICK: the header, then the row and point of the tap.
struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
  UINT uKeyFlags;
};

struct LVCOLUMNW {
  UINT mask;
  int fmt;
  int cx;
  LPWSTR pszText;
  int cchTextMax;
  int iSubItem;
  int iImage;
  int iOrder;
};

struct LVITEMW {
  UINT mask;
  int iItem;
  int iSubItem;
  UINT state;
  UINT stateMask;
  LPWSTR pszText;
  int cchTextMax;
  int iImage;
  LPARAM lParam;
  int iIndent;
};

struct SHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
};

// ---- Windows and classes ----
// Classes registered here live for the process. The controls "SysListView32", "Button" and
// "Static" are built in.
ATOM RegisterClassW(const WNDCLASSW* windowClass);
// A window belongs to the thread that creates it: its messages run there. WM_CREATE runs inside
// this call; WM_SIZE and WM_MOVE follow it. A child's id is `menu` cast to an integer.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
// Destroys the window and its children (WM_DESTROY to each). From the moment it starts, sends
// from other threads to any of them return 0 at once.
BOOL DestroyWindow(HWND hwnd);
// WM_CLOSE destroys the window; WM_PAINT validates; WM_ERASEBKGND fills with the class brush;
// WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH keep the window's text.
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int command);
// Paints the window now if it has anything to paint.
BOOL UpdateWindow(HWND hwnd);
// RedrawWindow's flags: the subset that paints a window and its children now, as they stand.
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
// With RDW_UPDATENOW: paints now what the window (and with RDW_ALLCHILDREN, each of its shown
// children) has to paint. `rect` and `region` must be null: nothing is invalidated here.
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
// Shows on the screen what the calling thread has drawn so far, before a slow step.
BOOL GdiFlush();
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
BOOL GetClientRect(HWND hwnd, RECT* rect);
// The window's rectangle in screen coordinates.
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size);
int GetWindowTextLengthW(HWND hwnd);
// The window keeps the region (the caller must not use or delete it afterwards); its shape
// clips the window's drawing and its input. Null removes the region.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
HWND SetFocus(HWND hwnd);
HWND GetFocus();

// ---- Messages ----
// From the window's own thread the window procedure runs at once; from another thread the
// message runs on the window's thread while the sender waits (and serves messages sent to its
// own windows meanwhile). Returns 0 at once for a window being destroyed.
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendDlgItemMessageW(HWND parent, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Waits for the next message of the calling thread: sent messages are served inside; posted
// messages and input come first, WM_PAINT and then WM_TIMER only when nothing else is waiting.
// Returns 0 for WM_QUIT. The filters are not supported: pass null and 0, 0.
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);

// ---- Timers ----
// WM_TIMER arrives on the window's thread; setting an existing id again restarts it. Any thread.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC procedure);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- Painting ----
// Adds the rectangle (null: the whole client area) to the window's update region; WM_PAINT
// follows when the thread has nothing else to do. With `erase`, BeginPaint sends WM_ERASEBKGND.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
// A context on the window's visible part of the screen (null: the whole screen). What is drawn
// shows as it happens. Release with ReleaseDC, on the same thread.
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
// A context clipped to the visible part of the update region, which it validates.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

// ---- Single instance ----
// Finds the main window of a running instance of this program of the same user, in this
// process or another, by class name and title (either may be null to match any).
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
// Brings the window forward; the lowest bit of the handle (owned windows too) is accepted.
BOOL SetForegroundWindow(HWND hwnd);

// ---- System ----
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
BOOL MessageBeep(UINT type);
int GetSystemMetrics(int index);
// The real path of the running executable, '/'-separated; cut to the buffer and terminated.
// Returns the number of characters written, without the terminator.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
HMODULE GetModuleHandleW(LPCWSTR moduleName);
// Strings of the built-in resource table, cut to the buffer; 0 for an unknown id.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
DWORD GetTickCount();

// ---- Threads ----
// The handle may be closed at once; the thread runs on. Security and stack size are ignored.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES security, std::size_t stackSize,
                    LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags, LPDWORD threadId);
BOOL CloseHandle(HANDLE handle);
// Waits for a thread to end.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
// On the screen's thread, what was drawn so far is shown before the sleep.
void Sleep(DWORD milliseconds);

// ---- Shell and COM ----
BOOL SHInitExtraControls();
BOOL SHFullScreen(HWND hwnd, DWORD state);
HRESULT SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);
// The user's application-data folder: $XDG_DATA_HOME, or ~/.local/share when that is unset or
// not absolute. Fills `path` (260 characters) without a final separator, creating the folder
// first when `create` is set. FALSE when it is unknown, longer than 259 characters or cannot be
// created. Only CSIDL_APPDATA is known.
constexpr int CSIDL_APPDATA = 0x001A;
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create);
HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
void CoUninitialize();
