#include "platform/MessageQueue.h"

#include <algorithm>

#include "platform/Paint.h"
#include "platform/Screen.h"
#include "platform/Timers.h"
#include "platform/Window.h"

namespace winsys {
namespace {

Condition& IdleChanged() {
  static auto* changed = new Condition;  // lives until the process ends
  return *changed;
}

void Complete(SentCall& call, LRESULT result) REQUIRES(windowLock) {
  call.result = result;
  call.done = true;
  if (call.sender != nullptr) {
    call.sender->wakeUp.NotifyAll();
  }
}

// Runs one call sent to this thread, without the lock while it runs.
void ServeOne(ThreadQueue& queue) REQUIRES(windowLock) {
  std::shared_ptr<SentCall> call = queue.sent.front();
  queue.sent.pop_front();
  windowLock.Unlock();
  const LRESULT result = call->run();
  windowLock.Lock();
  Complete(*call, result);
}

bool Idle(const ThreadQueue& queue) REQUIRES(windowLock) {
  return !queue.alive || (queue.waiting && !queue.woken);
}

// Ends a thread's queue: calls still waiting for it return 0.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (queue == nullptr) {
      return;
    }
    MutexLock lock(windowLock);
    queue->alive = false;
    for (auto& call : queue->sent) {
      Complete(*call, 0);
    }
    queue->sent.clear();
    queue->posted.clear();
  }
};

thread_local QueueHolder currentQueue;

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (currentQueue.queue == nullptr) {
    auto queue = std::make_shared<ThreadQueue>();
    queue->thread = std::this_thread::get_id();
    currentQueue.queue = queue;
  }
  return currentQueue.queue;
}

void Wake(ThreadQueue& queue) {
  queue.woken = true;
  if (queue.waiting) {
    queue.waiting = false;
    IdleChanged().NotifyAll();
  }
  queue.wakeUp.NotifyAll();
  if (queue.externalWake) {
    queue.externalWake();
  }
}

namespace {

// Carries `call` to `queue`'s thread and waits for it, serving calls sent to this thread
// meanwhile. A call for a window returns 0 unrun once the window is being destroyed.
LRESULT Carry(const std::shared_ptr<ThreadQueue>& queue, Window* target,
              std::function<LRESULT()> call) {
  std::shared_ptr<ThreadQueue> self = CurrentQueue();
  auto sent = std::make_shared<SentCall>();
  sent->run = std::move(call);
  sent->target = target;
  sent->sender = self;
  MutexLock lock(windowLock);
  if ((target != nullptr && target->dying) || !queue->alive) {
    return 0;
  }
  queue->sent.push_back(sent);
  Wake(*queue);
  while (!sent->done) {
    if (!self->sent.empty()) {
      ServeOne(*self);
      continue;
    }
    self->wakeUp.Wait(windowLock);
  }
  return sent->result;
}

}  // namespace

LRESULT RunOnOwner(HWND hwnd, std::function<LRESULT()> call) {
  Window* w = Live(hwnd);
  if (w == nullptr) {
    return 0;
  }
  if (w->owner == CurrentQueue()) {
    return call();
  }
  return Carry(w->owner, w, std::move(call));
}

LRESULT RunOnThread(const std::shared_ptr<ThreadQueue>& queue, std::function<LRESULT()> call) {
  if (queue == nullptr || queue == CurrentQueue()) {
    return call();
  }
  return Carry(queue, nullptr, std::move(call));
}

void CancelCallsFor(ThreadQueue& queue) {
  auto dying = [](const std::shared_ptr<SentCall>& call) {
    return call->target != nullptr && call->target->dying;
  };
  for (auto& call : queue.sent) {
    if (dying(call)) {
      Complete(*call, 0);
    }
  }
  std::erase_if(queue.sent, dying);
}

namespace {

// The first posted message the wait takes: any, or with `ownWait` a timer's only.
std::deque<MSG>::iterator FirstTaken(ThreadQueue& queue, const OwnWait* ownWait)
    REQUIRES(windowLock) {
  if (ownWait == nullptr) {
    return queue.posted.begin();
  }
  return std::find_if(queue.posted.begin(), queue.posted.end(),
                      [](const MSG& posted) { return posted.message == WM_TIMER; });
}

}  // namespace

bool NextMessage(MSG* msg, bool remove, Clock::time_point deadline, const OwnWait* ownWait) {
  std::shared_ptr<ThreadQueue> queue = CurrentQueue();
  MutexLock lock(windowLock);
  for (;;) {
    queue->woken = false;
    if (ownWait != nullptr && ownWait->ended) {
      return false;
    }
    if (!queue->sent.empty()) {
      ServeOne(*queue);
      continue;
    }
    if (const auto taken = FirstTaken(*queue, ownWait); taken != queue->posted.end()) {
      *msg = *taken;
      if (remove) {
        queue->posted.erase(taken);
      }
      return true;
    }
    if (queue->quitPosted && ownWait == nullptr) {
      *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue->quitCode), 0, GetTickCount(), {}};
      if (remove) {
        queue->quitPosted = false;
      }
      return true;
    }
    lock.Unlock();
    const bool tookInput = ownWait == nullptr ? TakeInput() : RefuseInput();
    Window* toPaint = tookInput ? nullptr : WindowToPaint();
    lock.Lock();
    if (tookInput) {
      continue;
    }
    if (toPaint != nullptr) {
      *msg = MSG{toPaint, WM_PAINT, 0, 0, GetTickCount(), {}};
      return true;
    }
    const Clock::time_point now = Clock::now();
    if (TakeDueTimer(*queue, now, msg, remove)) {
      return true;
    }
    if (now >= deadline) {
      return false;
    }
    if (queue->woken) {
      continue;
    }
    // Nothing to do: show what was drawn, then sleep until something comes or a timer is due.
    lock.Unlock();
    PresentScreen();
    lock.Lock();
    if (queue->woken) {
      continue;
    }
    const Clock::time_point until = std::min(deadline, NextTimerDue(*queue));
    queue->waiting = true;
    IdleChanged().NotifyAll();
    if (queue->externalWait) {
      auto wait = queue->externalWait;
      lock.Unlock();
      wait(until);
      lock.Lock();
    } else {
      while (!queue->woken && queue->wakeUp.WaitUntil(windowLock, until)) {
      }
    }
    queue->waiting = false;
  }
}

bool WaitUntilIdle(const std::shared_ptr<ThreadQueue>& queue, Clock::time_point deadline) {
  MutexLock lock(windowLock);
  while (!Idle(*queue)) {
    if (!IdleChanged().WaitUntil(windowLock, deadline)) {
      return Idle(*queue);
    }
  }
  return true;
}

}  // namespace winsys
