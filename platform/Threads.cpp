// Threads as handles: CreateThread, CloseHandle, WaitForSingleObject, GetExitCodeThread, Sleep.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "platform/Screen.h"
#include "platform/Win32.h"

namespace {

constexpr DWORD kStillActive = 259;

struct ThreadState {
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  DWORD exitCode = kStillActive;
};

}  // namespace

// What a HANDLE points to: one reference to a thread's state; the thread holds another.
struct KernelObject {
  std::shared_ptr<ThreadState> thread;
};

namespace {

std::mutex& HandlesLock() {
  static auto* lock = new std::mutex;  // lives until the process ends
  return *lock;
}

std::set<KernelObject*>& Handles() {
  static auto* handles = new std::set<KernelObject*>;
  return *handles;
}

std::shared_ptr<ThreadState> StateOf(HANDLE handle) {
  std::lock_guard lock(HandlesLock());
  return Handles().count(handle) != 0 ? handle->thread : nullptr;
}

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, std::size_t, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD, LPDWORD threadId) {
  if (start == nullptr) {
    return nullptr;
  }
  auto state = std::make_shared<ThreadState>();
  auto* handle = new KernelObject{state};
  {
    std::lock_guard lock(HandlesLock());
    Handles().insert(handle);
  }
  try {
    std::thread([state, start, parameter] {
      const DWORD code = start(parameter);
      std::lock_guard lock(state->mutex);
      state->exitCode = code;
      state->done = true;
      state->ended.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    CloseHandle(handle);
    return nullptr;
  }
  if (threadId != nullptr) {
    static std::atomic<DWORD> nextId{1};
    *threadId = nextId++;
  }
  return handle;
}

BOOL CloseHandle(HANDLE handle) {
  {
    std::lock_guard lock(HandlesLock());
    if (Handles().erase(handle) == 0) {
      return FALSE;
    }
  }
  delete handle;
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  std::shared_ptr<ThreadState> state = StateOf(handle);
  if (state == nullptr) {
    return WAIT_FAILED;
  }
  std::unique_lock lock(state->mutex);
  if (milliseconds == INFINITE) {
    state->ended.wait(lock, [&] { return state->done; });
    return WAIT_OBJECT_0;
  }
  return state->ended.wait_for(lock, std::chrono::milliseconds(milliseconds),
                               [&] { return state->done; })
             ? WAIT_OBJECT_0
             : WAIT_TIMEOUT;
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
  std::shared_ptr<ThreadState> state = StateOf(handle);
  if (state == nullptr || exitCode == nullptr) {
    return FALSE;
  }
  std::lock_guard lock(state->mutex);
  *exitCode = state->exitCode;
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  // What the screen's thread drew before a pause is seen during it (a fade's steps).
  winsys::PresentScreen();
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
