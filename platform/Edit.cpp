// The "Edit" control, single line: the characters it is given (WM_CHAR) go at the end of its
// text, Backspace takes the last one away, and its parent hears of each change (EN_CHANGE), of
// Return (IDOK) and of Escape (IDCANCEL) through WM_COMMAND. While it has the focus it shows a
// caret and asks the screen for text, so that an input method or an on-screen keyboard serves it.
#include <cstddef>

#include "platform/Controls.h"
#include "platform/Screen.h"
#include "platform/Window.h"

namespace winsys {
namespace {

// As many characters as the edit control takes until EM_LIMITTEXT says otherwise.
constexpr std::size_t kDefaultLimit = 30000;

struct EditState : ControlState {
  std::size_t limit = kDefaultLimit;
};

EditState& StateOf(HWND hwnd) {
  return ControlStateOf<EditState>(hwnd);
}

// A character that can stand in a line of text: not a control character, not half of a
// surrogate pair, a Unicode code point.
bool Printable(WPARAM c) {
  return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c <= 0xDFFF) &&
         c <= 0x10FFFF;
}

// Changes the text under the window-system lock, as WM_SETTEXT does. False when it stayed.
bool Edit(HWND hwnd, WPARAM character) {
  MutexLock lock(windowLock);
  std::wstring& text = hwnd->text;
  if (character == '\b') {
    if (text.empty()) {
      return false;
    }
    text.pop_back();  // one character is one code point: a wchar_t holds any of them whole
    return true;
  }
  if (text.size() >= StateOf(hwnd).limit) {
    return false;
  }
  text.push_back(static_cast<wchar_t>(character));
  return true;
}

void OnChar(HWND hwnd, WPARAM character) {
  if (character == '\r') {
    CommandToParent(hwnd, IDOK, BN_CLICKED);
    return;
  }
  if (character == 0x1B) {
    CommandToParent(hwnd, IDCANCEL, BN_CLICKED);
    return;
  }
  if ((character == '\b' || Printable(character)) && Edit(hwnd, character)) {
    InvalidateRect(hwnd, nullptr, FALSE);
    CommandToParent(hwnd, static_cast<WORD>(hwnd->id), EN_CHANGE);
  }
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintTextLine(hwnd, WM_CTLCOLOREDIT, GetFocus() == hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole control
    case WM_CHAR:
      OnChar(hwnd, wParam);
      return 0;
    case WM_SETTEXT:
      return SetTextLine(hwnd, wParam, lParam);
    case EM_LIMITTEXT:
      StateOf(hwnd).limit = wParam != 0 ? static_cast<std::size_t>(wParam) : kDefaultLimit;
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      AskForText(true, ScreenRect(hwnd));
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      AskForText(false, ScreenRect(hwnd));
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_DESTROY:
      if (GetFocus() == hwnd) {
        AskForText(false, ScreenRect(hwnd));
      }
      return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace winsys
