// Threads as handles: CreateThread, CloseHandle, WaitForSingleObject, GetExitCodeThread, Sleep.
#include <chrono>
#include <memory>
#include <set>
#include <thread>

#include "platform/Mutex.h"
#include "platform/Screen.h"
#include "platform/Win32.h"

namespace {

constexpr DWORD kStillActive = 259;

struct ThreadState {
  Mutex mutex;
  Condition ended;
  bool done GUARDED_BY(mutex) = false;
  DWORD exitCode GUARDED_BY(mutex) = kStillActive;
};

}  // namespace

// What a HANDLE points to: one reference to a thread's state; the thread holds another.
struct KernelObject {
  std::shared_ptr<ThreadState> thread;
};

namespace {

Mutex handlesLock;

std::set<KernelObject*>& Handles() REQUIRES(handlesLock) {
  static auto* handles = new std::set<KernelObject*>;
  return *handles;
}

std::shared_ptr<ThreadState> StateOf(HANDLE handle) {
  MutexLock lock(handlesLock);
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
    MutexLock lock(handlesLock);
    Handles().insert(handle);
  }
  try {
    std::thread([state, start, parameter] {
      const DWORD code = start(parameter);
      MutexLock lock(state->mutex);
      state->exitCode = code;
      state->done = true;
      state->ended.NotifyAll();
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
    MutexLock lock(handlesLock);
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
  MutexLock lock(state->mutex);
  if (milliseconds == INFINITE) {
    while (!state->done) {
      state->ended.Wait(state->mutex);
    }
    return WAIT_OBJECT_0;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!state->done && state->ended.WaitUntil(state->mutex, deadline)) {
  }
  return state->done ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
  std::shared_ptr<ThreadState> state = StateOf(handle);
  if (state == nullptr || exitCode == nullptr) {
    return FALSE;
  }
  MutexLock lock(state->mutex);
  *exitCode = state->exitCode;
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  // What the screen's thread drew before a pause is seen during it (a fade's steps).
  winsys::PresentScreen();
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
