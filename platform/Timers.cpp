#include "platform/Timers.h"

#include <algorithm>
#include <vector>

#include "platform/Window.h"

namespace winsys {
namespace {

// The shortest period a timer runs at, as on the original.
constexpr auto kMinimumPeriod = std::chrono::milliseconds(10);

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  std::shared_ptr<ThreadQueue> owner;
  Clock::duration period;
  Clock::time_point due;
  TIMERPROC procedure;
};

std::vector<Timer>& Timers() REQUIRES(windowLock) {
  static auto* timers = new std::vector<Timer>;  // lives until the process ends
  return *timers;
}

}  // namespace

bool TakeDueTimer(ThreadQueue& queue, Clock::time_point now, MSG* msg, bool remove) {
  Timer* earliest = nullptr;
  for (Timer& t : Timers()) {
    if (t.owner.get() == &queue && t.due <= now && (earliest == nullptr || t.due < earliest->due)) {
      earliest = &t;
    }
  }
  if (earliest == nullptr) {
    return false;
  }
  *msg = MSG{earliest->hwnd, WM_TIMER, earliest->id, reinterpret_cast<LPARAM>(earliest->procedure),
             GetTickCount(), {}};
  if (remove) {
    earliest->due = now + earliest->period;
  }
  return true;
}

Clock::time_point NextTimerDue(const ThreadQueue& queue) {
  Clock::time_point next = Clock::time_point::max();
  for (const Timer& t : Timers()) {
    if (t.owner.get() == &queue) {
      next = std::min(next, t.due);
    }
  }
  return next;
}

void RemoveTimersOf(const Window* w) {
  std::erase_if(Timers(), [&](const Timer& t) { return t.hwnd == w; });
}

}  // namespace winsys

using namespace winsys;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
  std::shared_ptr<ThreadQueue> owner;
  if (hwnd != nullptr) {
    Window* w = Live(hwnd);
    if (w == nullptr) {
      return 0;
    }
    owner = w->owner;
  } else {
    owner = CurrentQueue();
  }
  const Clock::duration period =
      std::max<Clock::duration>(std::chrono::milliseconds(milliseconds), kMinimumPeriod);
  MutexLock lock(windowLock);
  if (hwnd != nullptr && LiveLocked(hwnd) == nullptr) {
    return 0;
  }
  if (hwnd == nullptr) {
    // A timer without a window gets an id of its own.
    static UINT_PTR nextFreeId = 0x7F00;
    id = ++nextFreeId;
  }
  const Clock::time_point due = Clock::now() + period;
  auto existing = std::find_if(Timers().begin(), Timers().end(),
                               [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (existing != Timers().end()) {
    existing->period = period;
    existing->due = due;
    existing->procedure = procedure;
  } else {
    Timers().push_back(Timer{hwnd, id, owner, period, due, procedure});
  }
  Wake(*owner);
  return hwnd != nullptr ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  MutexLock lock(windowLock);
  const auto removed =
      std::erase_if(Timers(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  return removed > 0 ? TRUE : FALSE;
}
