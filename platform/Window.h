// The inside of a window: what an HWND points to, and the window tree. Not for code outside
// platform/.
//
// Threads: a window belongs to the thread that created it. Its tree fields (parent, children,
// rectangle, visibility, region, update region, control state) are read and written only on
// that thread; calls from other threads are carried there (RunOnOwner). The fields marked
// atomic or GUARDED_BY(winsys::windowLock) may be read anywhere.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/CairoPtr.h"
#include "platform/Mutex.h"
#include "platform/Win32.h"

struct ThreadQueue;

namespace winsys {
// The one lock of the window system: queues, timers, classes, the window list and texts.
extern Mutex windowLock;
}  // namespace winsys

struct WindowClass {
  std::wstring name;
  UINT style = 0;
  WNDPROC procedure = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
};

// Per-window state of a built-in control, owned by the window.
struct ControlState {
  virtual ~ControlState() = default;
};

struct Window {
  std::shared_ptr<const WindowClass> windowClass;
  std::shared_ptr<ThreadQueue> owner;
  WNDPROC procedure = nullptr;

  // Set when destruction starts / ends; readable from any thread.
  std::atomic<bool> dying{false};
  std::atomic<bool> destroyed{false};

  Window* parent = nullptr;
  std::vector<Window*> children;  // topmost first: a child created earlier lies above
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{};             // in the parent's client coordinates; screen for top level
  int nonClientRight = 0;  // width of a scroll bar at the right edge, outside the client area
  CairoRegionPtr shape;    // window region in window coordinates; null = whole
  CairoRegionPtr update;   // update region in client coordinates; null = none
  bool erasePending = false;
  std::unique_ptr<ControlState> control;

  std::wstring text GUARDED_BY(winsys::windowLock);
  // Told every new text, on the window's thread (tests watch the status line with it).
  std::function<void(const std::wstring&)> textWatcher GUARDED_BY(winsys::windowLock);

  bool visible() const { return (style & WS_VISIBLE) != 0; }
};

namespace winsys {

// A live window (created and not yet destroyed), checked without touching freed memory:
// destroyed windows are kept until the process ends.
Window* Live(HWND hwnd) EXCLUDES(windowLock);
// The same, with the lock already held.
Window* LiveLocked(HWND hwnd) REQUIRES(windowLock);
// Live and owned by the calling thread.
bool OwnedHere(HWND hwnd);

// Takes a new window into the table; the handle stays valid for the process's life.
Window* AddWindow(std::unique_ptr<Window> window);
// Top-level windows, topmost first.
std::vector<Window*>& TopLevel() REQUIRES(windowLock);
// Every live window, in creation order.
std::vector<Window*> AllWindows() REQUIRES(windowLock);

// The state of a control of the kind that keeps a `State`, made on first use.
template <typename State>
State& ControlStateOf(HWND hwnd) {
  if (hwnd->control == nullptr) {
    hwnd->control = std::make_unique<State>();
  }
  return static_cast<State&>(*hwnd->control);
}

// Shown: visible itself and every ancestor, and not being destroyed.
bool IsShown(const Window* w);
// The window's rectangle in screen coordinates.
RECT ScreenRect(const Window* w);
// The window's shape on the screen: its rectangle cut by its window region.
CairoRegionPtr ShapeOnScreen(const Window* w);
// What of the window the screen shows, in screen coordinates: its shape within every ancestor,
// minus the siblings above it and above each ancestor, and with `withoutChildren` minus its
// shown children. Empty for a window that is not shown.
CairoRegionPtr VisibleRegion(const Window* w, bool withoutChildren);
// Cuts a screen region to the window's client area (without its non-client edge).
void ClipToClient(cairo_region_t* region, const Window* w);
// The window under a screen point that gets input there, or null.
Window* WindowAt(POINT screenPoint);

// Marks the area (screen coordinates) as needing paint, with erasing, in every shown window
// that shows there. Used when windows appear, disappear or move.
void ExposeArea(const cairo_region_t* screenArea);

// From now on `observer` is told of every DefWindowProcW call (null: nobody is); for the
// headless screen's ObserveDefWindowProc.
void SetDefWindowProcObserver(void (*observer)(HWND window, UINT message));

}  // namespace winsys
