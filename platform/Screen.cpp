#include "platform/Screen.h"

#include <deque>
#include <mutex>
#include <optional>

#include "platform/Window.h"

namespace winsys {
namespace {

// Drawings closer together than this are shown together; a slower sequence (a fade with sleeps
// between its steps) is shown step by step.
constexpr auto kPresentInterval = std::chrono::milliseconds(50);

struct ScreenState {
  bool headless GUARDED_BY(windowLock) = false;
  bool textAsked GUARDED_BY(windowLock) = false;
  std::shared_ptr<ThreadQueue> thread GUARDED_BY(windowLock);
  std::deque<InputEvent> input GUARDED_BY(windowLock);
  // The screen's thread only.
  CairoSurfacePtr surface;
  std::unique_ptr<Presenter> presenter;
  bool drawn = false;
  Clock::time_point lastPresent{};
  HWND capture = nullptr;  // the window a press went to gets the moves and the release
};

ScreenState& State() {
  static auto* state = new ScreenState;  // lives until the process ends
  return *state;
}

bool OnScreenThread() {
  MutexLock lock(windowLock);
  return State().thread != nullptr && State().thread->thread == std::this_thread::get_id();
}

LPARAM ClientPoint(HWND hwnd, POINT screenPoint) {
  const RECT r = ScreenRect(hwnd);
  return MAKELPARAM(static_cast<WORD>(screenPoint.x - r.left),
                    static_cast<WORD>(screenPoint.y - r.top));
}

// The characters that keys without a printable one type, as TranslateMessage gives them.
wchar_t ControlCharacter(UINT key) {
  switch (key) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
      return static_cast<wchar_t>(key);
    default:
      return 0;
  }
}

HWND KeyTarget() {
  HWND focus = GetFocus();
  if (focus != nullptr && IsShown(focus)) {
    return focus;
  }
  MutexLock lock(windowLock);
  for (Window* top : TopLevel()) {
    if (IsShown(top)) {
      return top;
    }
  }
  return nullptr;
}

void Deliver(const InputEvent& e) {
  ScreenState& s = State();
  switch (e.kind) {
    case InputEvent::Kind::Down:
      s.capture = WindowAt(e.point);
      if (s.capture != nullptr) {
        PostMessageW(s.capture, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(s.capture, e.point));
      }
      break;
    case InputEvent::Kind::Move:
      if (Live(s.capture) != nullptr && IsShown(s.capture)) {
        PostMessageW(s.capture, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(s.capture, e.point));
      }
      break;
    case InputEvent::Kind::Up: {
      HWND target =
          Live(s.capture) != nullptr && IsShown(s.capture) ? s.capture : WindowAt(e.point);
      s.capture = nullptr;
      if (target != nullptr) {
        PostMessageW(target, WM_LBUTTONUP, 0, ClientPoint(target, e.point));
      }
      break;
    }
    case InputEvent::Kind::Wheel:
      if (HWND target = WindowAt(e.point)) {
        PostMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(e.wheelDelta)),
                     MAKELPARAM(static_cast<WORD>(e.point.x), static_cast<WORD>(e.point.y)));
      }
      break;
    case InputEvent::Kind::Key:
      if (HWND target = KeyTarget()) {
        const wchar_t character = e.character != 0 ? e.character : ControlCharacter(e.key);
        if (e.key != 0) {
          PostMessageW(target, WM_KEYDOWN, e.key, 1);
        }
        if (character != 0) {
          PostMessageW(target, WM_CHAR, static_cast<WPARAM>(character), 1);
        }
        if (e.key != 0) {
          PostMessageW(target, WM_KEYUP, e.key, static_cast<LPARAM>(0xC0000001));
        }
      }
      break;
    case InputEvent::Kind::Text:
      if (HWND target = KeyTarget(); target != nullptr && TextAsked()) {
        PostMessageW(target, WM_CHAR, static_cast<WPARAM>(e.character), 1);
      }
      break;
  }
}

}  // namespace

void EnsureDisplayChosen() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (IsHeadless()) {
      return;
    }
    const DisplayMetrics real = ProbeSdlDisplay();
    if (real.width > 0 && !IsHeadless()) {
      SetCurrentDisplay(real);
    }
  });
}

void ChooseHeadlessScreen(const DisplayMetrics& metrics) {
  {
    MutexLock lock(windowLock);
    State().headless = true;
  }
  SetCurrentDisplay(metrics);
  ScreenState& s = State();
  s.presenter.reset();
  s.surface.reset();
  const DisplayMetrics now = CurrentDisplay();
  const cairo_rectangle_int_t all{0, 0, now.width, now.height};
  ExposeArea(CairoRegionPtr(cairo_region_create_rectangle(&all)).get());
}

bool IsHeadless() {
  MutexLock lock(windowLock);
  return State().headless;
}

cairo_surface_t* ScreenSurface() {
  EnsureDisplayChosen();
  ScreenState& s = State();
  const DisplayMetrics m = CurrentDisplay();
  if (s.surface != nullptr && (cairo_image_surface_get_width(s.surface.get()) != m.width ||
                               cairo_image_surface_get_height(s.surface.get()) != m.height)) {
    s.surface.reset();
  }
  if (s.surface == nullptr) {
    s.surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m.width, m.height));
    const CairoPtr cr(cairo_create(s.surface.get()));
    cairo_set_source_rgb(cr.get(), 0, 0, 0);
    cairo_paint(cr.get());
  }
  return s.surface.get();
}

void ScreenDrawn() {
  if (!OnScreenThread()) {
    return;
  }
  ScreenState& s = State();
  s.drawn = true;
  if (s.presenter != nullptr && Clock::now() - s.lastPresent >= kPresentInterval) {
    PresentScreen();
  }
}

void PresentScreen() {
  ScreenState& s = State();
  if (!OnScreenThread() || s.presenter == nullptr || !s.drawn) {
    return;
  }
  s.drawn = false;
  s.lastPresent = Clock::now();
  s.presenter->Present(ScreenSurface());
}

void ScreenWindowShown(const std::wstring& title) {
  std::shared_ptr<ThreadQueue> self = CurrentQueue();
  bool openReal = false;
  {
    MutexLock lock(windowLock);
    State().thread = self;
    openReal = !State().headless && State().presenter == nullptr;
  }
  if (openReal) {
    EnsureDisplayChosen();
    State().presenter = OpenSdlScreen(*self, CurrentDisplay(), title);
    State().drawn = true;
    // The window opens black: its first paint is shown whole when the loop is idle (or the
    // program flushes), not from its first background fill on.
    State().lastPresent = Clock::now();
  }
}

void RaiseScreen() {
  if (OnScreenThread() && State().presenter != nullptr) {
    State().presenter->Raise();
  }
}

std::shared_ptr<ThreadQueue> ScreenThread() {
  MutexLock lock(windowLock);
  return State().thread;
}

void AskForText(bool asked, const RECT& area) {
  ScreenState& s = State();
  {
    MutexLock lock(windowLock);
    s.textAsked = asked;
  }
  if (OnScreenThread() && s.presenter != nullptr) {
    s.presenter->AskForText(asked, area);
  }
}

bool TextAsked() {
  MutexLock lock(windowLock);
  return State().textAsked;
}

void PushInput(const InputEvent& event) {
  MutexLock lock(windowLock);
  State().input.push_back(event);
  if (State().thread != nullptr) {
    Wake(*State().thread);
  }
}

namespace {

// The oldest queued input, taken off the queue on the screen's thread.
std::optional<InputEvent> NextInput() {
  MutexLock lock(windowLock);
  ScreenState& s = State();
  if (s.input.empty() || s.thread == nullptr || s.thread->thread != std::this_thread::get_id()) {
    return std::nullopt;
  }
  const InputEvent event = s.input.front();
  s.input.pop_front();
  return event;
}

}  // namespace

bool TakeInput() {
  const std::optional<InputEvent> event = NextInput();
  if (event) {
    Deliver(*event);
  }
  return event.has_value();
}

bool RefuseInput() {
  const std::optional<InputEvent> event = NextInput();
  if (!event) {
    return false;
  }
  switch (event->kind) {
    case InputEvent::Kind::Down:
    case InputEvent::Kind::Key:
    case InputEvent::Kind::Text:
      MessageBeep(0);
      break;
    case InputEvent::Kind::Up:
      State().capture = nullptr;  // the press it ends may have reached a window before the wait
      break;
    case InputEvent::Kind::Move:
    case InputEvent::Kind::Wheel:
      break;
  }
  return true;
}

}  // namespace winsys
