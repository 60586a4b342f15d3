// Window classes, creation and destruction, visibility, placement, text and focus.
#include <algorithm>
#include <atomic>
#include <map>

#include "platform/Controls.h"
#include "platform/MessageQueue.h"
#include "platform/Paint.h"
#include "platform/Screen.h"
#include "platform/SingleInstance.h"
#include "platform/Timers.h"
#include "platform/Window.h"

using namespace winsys;

namespace {

std::atomic<void (*)(HWND, UINT)> defWindowProcObserver{nullptr};

std::map<std::wstring, std::shared_ptr<const WindowClass>>& Classes() REQUIRES(windowLock) {
  static auto* classes = new std::map<std::wstring, std::shared_ptr<const WindowClass>>;
  return *classes;
}

std::atomic<Window*> focusWindow{nullptr};
Window* activeWindow GUARDED_BY(windowLock) = nullptr;

std::shared_ptr<const WindowClass> FindClass(LPCWSTR name) {
  RegisterControlClasses();
  if (name == nullptr) {
    return nullptr;
  }
  MutexLock lock(windowLock);
  auto found = Classes().find(name);
  return found != Classes().end() ? found->second : nullptr;
}

bool IsWithin(const Window* w, const Window* ancestor) {
  for (; w != nullptr; w = w->parent) {
    if (w == ancestor) {
      return true;
    }
  }
  return false;
}

// Brings a top-level window to the front and tells the old and new active windows.
void Activate(Window* w) {
  Window* previous = nullptr;
  {
    MutexLock lock(windowLock);
    auto& top = TopLevel();
    std::erase(top, w);
    top.insert(top.begin(), w);
    if (activeWindow == w) {
      return;
    }
    previous = activeWindow;
    activeWindow = w;
  }
  if (Live(previous) != nullptr) {
    SendMessageW(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(w));
  }
  SendMessageW(w, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
}

void MarkDying(Window* w) {
  w->dying = true;
  for (Window* child : w->children) {
    MarkDying(child);
  }
}

void SendDestroy(Window* w) {
  w->procedure(w, WM_DESTROY, 0, 0);
  const std::vector<Window*> children = w->children;
  for (Window* child : children) {
    SendDestroy(child);
  }
}

void TearDown(Window* w) {
  const std::vector<Window*> children = w->children;
  for (Window* child : children) {
    TearDown(child);
  }
  Window* expected = w;
  focusWindow.compare_exchange_strong(expected, nullptr);
  {
    MutexLock lock(windowLock);
    RemoveTimersOf(w);
    if (w->parent != nullptr) {
      std::erase(w->parent->children, w);
    } else {
      std::erase(TopLevel(), w);
    }
    if (activeWindow == w) {
      activeWindow = nullptr;
    }
  }
  w->control.reset();
  w->destroyed = true;
}

}  // namespace

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) {
    return 0;
  }
  auto entry = std::make_shared<WindowClass>();
  entry->name = wc->lpszClassName;
  entry->style = wc->style;
  entry->procedure = wc->lpfnWndProc;
  entry->background = wc->hbrBackground;
  entry->icon = wc->hIcon;
  MutexLock lock(windowLock);
  if (Classes().count(entry->name) != 0) {
    return 0;
  }
  Classes()[entry->name] = entry;
  return static_cast<ATOM>(0xC000 + Classes().size());
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  std::shared_ptr<const WindowClass> windowClass = FindClass(className);
  if (windowClass == nullptr) {
    return nullptr;
  }
  const bool child = (style & WS_CHILD) != 0;
  if (child && !OwnedHere(parent)) {
    return nullptr;
  }
  auto made = std::make_unique<Window>();
  made->windowClass = windowClass;
  made->owner = CurrentQueue();
  made->procedure = windowClass->procedure;
  made->parent = child ? parent : nullptr;
  made->id = child ? static_cast<int>(reinterpret_cast<std::intptr_t>(menu)) : 0;
  made->style = style & ~WS_VISIBLE;
  made->exStyle = exStyle;
  made->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
  Window* w = AddWindow(std::move(made));
  {
    MutexLock lock(windowLock);
    w->text = windowName != nullptr ? windowName : L"";
    if (!child) {
      TopLevel().push_back(w);
    }
  }
  if (child) {
    w->parent->children.push_back(w);
  } else {
    StartInstanceServer();
  }
  CREATESTRUCTW create{param, instance, menu,        parent,     height,    width,
                       y,     x,        LONG(style), windowName, className, exStyle};
  if (w->procedure(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(w);
    return nullptr;
  }
  if (Live(w) == nullptr) {
    return nullptr;
  }
  SendMessageW(w, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
  SendMessageW(w, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  if ((style & WS_VISIBLE) != 0) {
    ShowWindow(w, SW_SHOW);
  }
  return Live(w);
}

BOOL DestroyWindow(HWND hwnd) {
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd]() -> LRESULT {
    Window* w = hwnd;
    if (w->dying) {
      return FALSE;
    }
    const CairoRegionPtr covered = VisibleRegion(w, false);
    {
      MutexLock lock(windowLock);
      MarkDying(w);
      CancelCallsFor(*w->owner);
    }
    SendDestroy(w);
    TearDown(w);
    ExposeArea(covered.get());
    return TRUE;
  }));
}

void winsys::SetDefWindowProcObserver(void (*observer)(HWND window, UINT message)) {
  defWindowProcObserver.store(observer);
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto observer = defWindowProcObserver.load()) {
    observer(hwnd, message);
  }
  Window* w = Live(hwnd);
  if (w == nullptr) {
    return 0;
  }
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return EraseWithClassBrush(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_SETTEXT: {
      const LPCWSTR text = lParam != 0 ? reinterpret_cast<LPCWSTR>(lParam) : L"";
      std::function<void(const std::wstring&)> watcher;
      {
        MutexLock lock(windowLock);
        w->text = text;
        watcher = w->textWatcher;
      }
      if (watcher) {
        watcher(text);
      }
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      const auto size = static_cast<std::size_t>(wParam);
      if (buffer == nullptr || size == 0) {
        return 0;
      }
      MutexLock lock(windowLock);
      const std::size_t count = std::min(w->text.size(), size - 1);
      std::copy_n(w->text.begin(), count, buffer);
      buffer[count] = L'\0';
      return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH: {
      MutexLock lock(windowLock);
      return static_cast<LRESULT>(w->text.size());
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !IsWithin(focusWindow.load(), w)) {
        SetFocus(hwnd);
      }
      return 0;
    default:
      return 0;
  }
}

BOOL IsWindow(HWND hwnd) {
  return Live(hwnd) != nullptr ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd]() -> LRESULT { return IsShown(hwnd); }));
}

BOOL ShowWindow(HWND hwnd, int command) {
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd, command]() -> LRESULT {
    Window* w = hwnd;
    const bool wasVisible = w->visible();
    const bool show = command != SW_HIDE;
    if (show == wasVisible) {
      return wasVisible;
    }
    if (show) {
      w->style |= WS_VISIBLE;
      ExposeArea(VisibleRegion(w, false).get());
      if (w->parent == nullptr) {
        std::wstring title;
        {
          MutexLock lock(windowLock);
          title = w->text;
        }
        ScreenWindowShown(title);
        Activate(w);
      }
    } else {
      const CairoRegionPtr covered = VisibleRegion(w, false);
      w->style &= ~WS_VISIBLE;
      ExposeArea(covered.get());
    }
    return wasVisible;
  }));
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return static_cast<BOOL>(RunOnOwner(hwnd, [=]() -> LRESULT {
    Window* w = hwnd;
    const RECT old = w->rect;
    const RECT now{x, y, x + std::max(0, width), y + std::max(0, height)};
    const CairoRegionPtr area = repaint ? VisibleRegion(w, false) : nullptr;
    w->rect = now;
    if (area != nullptr) {
      cairo_region_union(area.get(), VisibleRegion(w, false).get());
      ExposeArea(area.get());
    }
    if (now.right - now.left != old.right - old.left ||
        now.bottom - now.top != old.bottom - old.top) {
      SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                   MAKELPARAM(static_cast<WORD>(now.right - now.left),
                              static_cast<WORD>(now.bottom - now.top)));
    }
    if (now.left != old.left || now.top != old.top) {
      SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
    return TRUE;
  }));
}

HWND GetDlgItem(HWND parent, int id) {
  return reinterpret_cast<HWND>(RunOnOwner(parent, [parent, id]() -> LRESULT {
    for (Window* child : parent->children) {
      if (child->id == id) {
        return reinterpret_cast<LRESULT>(child);
      }
    }
    return 0;
  }));
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = Live(hwnd);
  return w != nullptr ? w->id : 0;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  if (rect == nullptr) {
    return FALSE;
  }
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd, rect]() -> LRESULT {
    const Window* w = hwnd;
    *rect = RECT{0, 0, std::max(0, int(w->rect.right - w->rect.left) - w->nonClientRight),
                 w->rect.bottom - w->rect.top};
    return TRUE;
  }));
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  if (rect == nullptr) {
    return FALSE;
  }
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd, rect]() -> LRESULT {
    *rect = ScreenRect(hwnd);
    return TRUE;
  }));
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  return static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) {
    return 0;
  }
  buffer[0] = L'\0';
  return static_cast<int>(
      SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

HWND SetFocus(HWND hwnd) {
  if (hwnd != nullptr && Live(hwnd) == nullptr) {
    return nullptr;
  }
  Window* previous = focusWindow.exchange(hwnd);
  if (previous == hwnd) {
    return previous;
  }
  if (Live(previous) != nullptr) {
    SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  }
  if (hwnd != nullptr) {
    SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

HWND GetFocus() {
  return Live(focusWindow.load());
}

BOOL SetForegroundWindow(HWND hwnd) {
  // The lowest bit asks for owned windows too; this window system has none to bring.
  hwnd = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(hwnd) & ~std::uintptr_t{1});
  if (IsRemoteWindow(hwnd)) {
    return RaiseRemoteWindow(hwnd);
  }
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd]() -> LRESULT {
    Window* top = hwnd;
    while (top->parent != nullptr) {
      top = top->parent;
    }
    if (!top->visible()) {
      return FALSE;
    }
    const bool wasFront = [&] {
      MutexLock lock(windowLock);
      return !TopLevel().empty() && TopLevel().front() == top;
    }();
    Activate(top);
    if (!wasFront) {
      ExposeArea(VisibleRegion(top, false).get());
    }
    RaiseScreen();
    return TRUE;
  }));
}
