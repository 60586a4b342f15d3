// Message queues: one per thread that uses the window system, created on first use. Not for
// code outside platform/.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <thread>

#include "platform/Mutex.h"
#include "platform/Win32.h"
#include "platform/Window.h"

struct Window;
struct ThreadQueue;

namespace winsys {

using Clock = std::chrono::steady_clock;

// A call carried to another thread, the sender waiting for its result.
struct SentCall {
  std::function<LRESULT()> run;
  Window* target = nullptr;  // the window it is for; null for a call on the thread itself
  LRESULT result = 0;
  bool done GUARDED_BY(windowLock) = false;
  std::shared_ptr<ThreadQueue> sender;
};

}  // namespace winsys

// The thread is set before the queue is shared; the rest is under the window-system lock.
struct ThreadQueue {
  std::thread::id thread;
  std::deque<MSG> posted GUARDED_BY(winsys::windowLock);
  std::deque<std::shared_ptr<winsys::SentCall>> sent GUARDED_BY(winsys::windowLock);
  bool quitPosted GUARDED_BY(winsys::windowLock) = false;
  int quitCode GUARDED_BY(winsys::windowLock) = 0;
  bool alive GUARDED_BY(winsys::windowLock) = true;     // false once the thread has ended
  bool waiting GUARDED_BY(winsys::windowLock) = false;  // blocked with nothing to do
  bool woken GUARDED_BY(winsys::windowLock) = false;  // something came since the thread last looked
  Condition wakeUp;
  // Replace the condition variable when the thread waits elsewhere (the screen's event wait):
  // wait until the time or a wake, whichever comes first; wake it from any thread.
  std::function<void(std::chrono::steady_clock::time_point)> externalWait
      GUARDED_BY(winsys::windowLock);
  std::function<void()> externalWake GUARDED_BY(winsys::windowLock);
};

namespace winsys {

// The calling thread's queue.
std::shared_ptr<ThreadQueue> CurrentQueue();
// Wakes a waiting thread.
void Wake(ThreadQueue& queue) REQUIRES(windowLock);

// Runs `call` on the thread that owns `hwnd` and returns its result, serving calls sent to this
// thread while it waits. Runs at once when this thread owns it. Returns 0 without running when
// the window is (or starts being) destroyed or its thread has ended.
LRESULT RunOnOwner(HWND hwnd, std::function<LRESULT()> call);
// Runs `call` on the thread of `queue` (at once when that is this thread, or when it is null)
// and returns its result; 0 unrun when that thread has ended.
LRESULT RunOnThread(const std::shared_ptr<ThreadQueue>& queue, std::function<LRESULT()> call);
// Completes every call waiting for windows that are being destroyed with 0.
void CancelCallsFor(ThreadQueue& queue) REQUIRES(windowLock);

// A wait of a thread for work of its own (RunWhilePainting), ended from any thread.
struct OwnWait {
  bool ended GUARDED_BY(windowLock) = false;
};

// Takes the next message of the calling thread, as GetMessageW and PeekMessageW do, serving sent
// calls on the way. Waits until `deadline` when nothing is there (Clock::time_point::max():
// for ever; the past: not at all). False when nothing came in time.
// With `ownWait`, only what keeps the windows painted is taken (paints, WM_TIMER, due or posted):
// other posted messages stay queued, queued input is refused (RefuseInput), and it returns false
// once the wait has ended.
bool NextMessage(MSG* msg, bool remove, Clock::time_point deadline,
                 const OwnWait* ownWait = nullptr) EXCLUDES(windowLock);

// Idle state of the screen's thread, for the test interface: waits until it is blocked with
// nothing to do (true) or the deadline passes (false).
bool WaitUntilIdle(const std::shared_ptr<ThreadQueue>& queue, Clock::time_point deadline)
    EXCLUDES(windowLock);

}  // namespace winsys
