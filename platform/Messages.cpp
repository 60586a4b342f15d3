// Sending, posting and taking messages.
#include "platform/MessageQueue.h"
#include "platform/Window.h"

using namespace winsys;

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunOnOwner(hwnd, [=]() -> LRESULT {
    if (Live(hwnd) == nullptr) {
      return 0;
    }
    return hwnd->procedure(hwnd, message, wParam, lParam);
  });
}

LRESULT SendDlgItemMessageW(HWND parent, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(GetDlgItem(parent, id), message, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ThreadQueue> queue;
  if (hwnd == nullptr) {
    queue = CurrentQueue();
  }
  MutexLock lock(windowLock);
  if (hwnd != nullptr) {
    Window* w = LiveLocked(hwnd);
    if (w == nullptr || w->dying) {
      return FALSE;
    }
    queue = w->owner;
  }
  if (!queue->alive) {
    return FALSE;
  }
  queue->posted.push_back(MSG{hwnd, message, wParam, lParam, GetTickCount(), {}});
  Wake(*queue);
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  std::shared_ptr<ThreadQueue> queue = CurrentQueue();
  MutexLock lock(windowLock);
  queue->quitPosted = true;
  queue->quitCode = exitCode;
}

BOOL GetMessageW(MSG* msg, HWND, UINT, UINT) {
  NextMessage(msg, true, Clock::time_point::max());
  return msg->message != WM_QUIT ? TRUE : FALSE;
}

BOOL PeekMessageW(MSG* msg, HWND, UINT, UINT, UINT remove) {
  return NextMessage(msg, (remove & PM_REMOVE) != 0, Clock::time_point::min()) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG*) {
  // Nothing left to translate: the screen posts each key's character (WM_CHAR) beside its
  // WM_KEYDOWN, because only the screen knows the keyboard's layout and the input method.
  return FALSE;
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (msg == nullptr) {
    return 0;
  }
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    auto procedure = reinterpret_cast<TIMERPROC>(msg->lParam);
    procedure(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!OwnedHere(msg->hwnd)) {
    return 0;
  }
  return msg->hwnd->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
