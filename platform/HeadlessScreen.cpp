#include "platform/HeadlessScreen.h"

#include <cwctype>
#include <thread>
#include <utility>

#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/SystemRecords.h"
#include "platform/Utf8.h"
#include "platform/Window.h"

namespace {

using winsys::Clock;

// WM_QUIT as the loop run by these functions took it.
struct QuitRecord {
  Mutex mutex;
  bool quit GUARDED_BY(mutex) = false;
  int quitCode GUARDED_BY(mutex) = 0;
};

QuitRecord& State() {
  static auto* record = new QuitRecord;  // lives until the process ends
  return *record;
}

bool OnScreenThread() {
  std::shared_ptr<ThreadQueue> screen = winsys::ScreenThread();
  return screen == nullptr || screen->thread == std::this_thread::get_id();
}

// Runs the calling thread's loop until `condition` holds (true), or nothing is left to do when
// `untilIdle`, or the deadline passes (false).
bool Pump(const std::function<bool()>& condition, bool untilIdle, Clock::time_point deadline) {
  for (;;) {
    if (condition && condition()) {
      return true;
    }
    MSG msg;
    // A condition may wait for other threads: look again every few milliseconds.
    const Clock::time_point wait =
        untilIdle ? Clock::time_point::min()
                  : std::min(deadline, Clock::now() + std::chrono::milliseconds(5));
    if (!winsys::NextMessage(&msg, true, wait)) {
      if (untilIdle || Clock::now() >= deadline) {
        return untilIdle || (condition && condition());
      }
      continue;
    }
    if (msg.message == WM_QUIT) {
      MutexLock lock(State().mutex);
      State().quit = true;
      State().quitCode = static_cast<int>(msg.wParam);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (Clock::now() >= deadline) {
      return condition && condition();
    }
  }
}

void Push(winsys::InputEvent::Kind kind, int x, int y) {
  winsys::PushInput(winsys::InputEvent{kind, POINT{x, y}});
}

template <typename Result>
Result OnScreen(std::function<Result()> read) {
  Result result{};
  winsys::RunOnThread(winsys::ScreenThread(), [&]() -> LRESULT {
    result = read();
    return 0;
  });
  return result;
}

}  // namespace

namespace headless {

void UseHeadlessScreen(int width, int height, int dpi) {
  winsys::ChooseHeadlessScreen(DisplayMetrics{width, height, dpi});
}

void Press(int x, int y) {
  Push(winsys::InputEvent::Kind::Down, x, y);
}
void MoveTo(int x, int y) {
  Push(winsys::InputEvent::Kind::Move, x, y);
}
void Release(int x, int y) {
  Push(winsys::InputEvent::Kind::Up, x, y);
}

void Tap(int x, int y) {
  Press(x, y);
  Release(x, y);
}

void Drag(POINT from, POINT to, int steps, int pauseMs) {
  steps = std::max(1, steps);
  Press(from.x, from.y);
  RunUntilIdle();
  for (int i = 1; i <= steps; ++i) {
    MoveTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
    if (OnScreenThread()) {
      RunFor(std::chrono::milliseconds(pauseMs));
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }
  }
  Release(to.x, to.y);
}

void Wheel(int x, int y, int notches) {
  winsys::PushInput(
      winsys::InputEvent{winsys::InputEvent::Kind::Wheel, POINT{x, y}, notches * WHEEL_DELTA});
}

void PressKey(UINT virtualKey) {
  winsys::PushInput(winsys::InputEvent{winsys::InputEvent::Kind::Key, {}, 0, virtualKey});
}

void TypeKeys(std::wstring_view text) {
  for (wchar_t character : text) {
    const bool named = (character >= L'a' && character <= L'z') ||
                       (character >= L'A' && character <= L'Z') ||
                       (character >= L'0' && character <= L'9');
    const UINT key = named ? static_cast<UINT>(std::towupper(static_cast<wint_t>(character))) : 0;
    winsys::PushInput(winsys::InputEvent{winsys::InputEvent::Kind::Key, {}, 0, key, character});
  }
}

void TypeText(std::string_view utf8) {
  for (wchar_t character : Utf8ToWide(utf8)) {
    winsys::PushInput(winsys::InputEvent{winsys::InputEvent::Kind::Text, {}, 0, 0, character});
  }
}

bool TextAsked() {
  return winsys::TextAsked();
}

bool RunUntilIdle(std::chrono::milliseconds limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  if (OnScreenThread()) {
    return Pump(nullptr, true, deadline);
  }
  return winsys::WaitUntilIdle(winsys::ScreenThread(), deadline);
}

bool RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  if (OnScreenThread()) {
    return Pump(condition, false, deadline);
  }
  for (;;) {
    if (OnScreen<bool>(condition)) {
      return true;
    }
    if (Clock::now() >= deadline) {
      return false;
    }
    winsys::WaitUntilIdle(winsys::ScreenThread(),
                          std::min(deadline, Clock::now() + std::chrono::milliseconds(10)));
  }
}

void RunFor(std::chrono::milliseconds duration) {
  RunUntil([] { return false; }, duration);
}

bool QuitReceived(int* exitCode) {
  MutexLock lock(State().mutex);
  if (exitCode != nullptr) {
    *exitCode = State().quitCode;
  }
  return State().quit;
}

COLORREF Pixel(int x, int y) {
  return OnScreen<COLORREF>([x, y]() -> COLORREF {
    cairo_surface_t* screen = winsys::ScreenSurface();
    cairo_surface_flush(screen);
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(screen) ||
        y >= cairo_image_surface_get_height(screen)) {
      return 0;
    }
    const unsigned char* row =
        cairo_image_surface_get_data(screen) + y * cairo_image_surface_get_stride(screen);
    const auto argb = reinterpret_cast<const std::uint32_t*>(row)[x];
    return RGB(static_cast<BYTE>(argb >> 16), static_cast<BYTE>(argb >> 8),
               static_cast<BYTE>(argb));
  });
}

bool SaveScreen(const std::string& path) {
  return OnScreen<bool>([&path] {
    return cairo_surface_write_to_png(winsys::ScreenSurface(), path.c_str()) ==
           CAIRO_STATUS_SUCCESS;
  });
}

std::vector<MessageBoxRecord> MessageBoxes() {
  return winsys::RecordedMessageBoxes();
}

void ObserveDefWindowProc(void (*observer)(HWND window, UINT message)) {
  winsys::SetDefWindowProcObserver(observer);
}

void AnswerMessageBoxes(int answer) {
  winsys::SetMessageBoxAnswer(answer);
}

void ClearMessageBoxes() {
  winsys::ClearRecordedMessageBoxes();
}

int BeepCount() {
  return winsys::RecordedBeeps();
}

void WatchText(HWND window, std::function<void(const std::wstring&)> changed) {
  MutexLock lock(winsys::windowLock);
  if (Window* w = winsys::LiveLocked(window)) {
    w->textWatcher = std::move(changed);
  }
}

void SetModulePath(const std::wstring& path) {
  winsys::SetModulePathOverride(path);
}

void SetInstanceChannel(const std::string& name) {
  winsys::SetInstanceChannelOverride(name);
}

}  // namespace headless
