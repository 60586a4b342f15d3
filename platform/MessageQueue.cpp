#include "platform/MessageQueue.h"

#include <algorithm>

#include "platform/Paint.h"
#include "platform/Screen.h"
#include "platform/Timers.h"
#include "platform/Window.h"

namespace winsys {
namespace {

std::condition_variable& IdleChanged() {
  static auto* changed = new std::condition_variable;  // lives until the process ends
  return *changed;
}

void Complete(SentCall& call, LRESULT result) {
  call.result = result;
  call.done = true;
  if (call.sender != nullptr) {
    call.sender->wakeUp.notify_all();
  }
}

// Runs one call sent to this thread; the lock is held on entry and on return.
void ServeOne(ThreadQueue& queue, std::unique_lock<std::mutex>& lock) {
  std::shared_ptr<SentCall> call = queue.sent.front();
  queue.sent.pop_front();
  lock.unlock();
  const LRESULT result = call->run();
  lock.lock();
  Complete(*call, result);
}

// Ends a thread's queue: calls still waiting for it return 0.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (queue == nullptr) {
      return;
    }
    std::lock_guard lock(Lock());
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
    IdleChanged().notify_all();
  }
  queue.wakeUp.notify_all();
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
  std::unique_lock lock(Lock());
  if ((target != nullptr && target->dying) || !queue->alive) {
    return 0;
  }
  queue->sent.push_back(sent);
  Wake(*queue);
  while (!sent->done) {
    if (!self->sent.empty()) {
      ServeOne(*self, lock);
      continue;
    }
    self->wakeUp.wait(lock);
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

bool NextMessage(MSG* msg, bool remove, Clock::time_point deadline) {
  std::shared_ptr<ThreadQueue> queue = CurrentQueue();
  std::unique_lock lock(Lock());
  for (;;) {
    queue->woken = false;
    if (!queue->sent.empty()) {
      ServeOne(*queue, lock);
      continue;
    }
    if (!queue->posted.empty()) {
      *msg = queue->posted.front();
      if (remove) {
        queue->posted.pop_front();
      }
      return true;
    }
    if (queue->quitPosted) {
      *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue->quitCode), 0, GetTickCount(), {}};
      if (remove) {
        queue->quitPosted = false;
      }
      return true;
    }
    lock.unlock();
    const bool tookInput = TakeInput();
    Window* toPaint = tookInput ? nullptr : WindowToPaint();
    lock.lock();
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
    lock.unlock();
    PresentScreen();
    lock.lock();
    if (queue->woken) {
      continue;
    }
    const Clock::time_point until = std::min(deadline, NextTimerDue(*queue));
    queue->waiting = true;
    IdleChanged().notify_all();
    if (queue->externalWait) {
      auto wait = queue->externalWait;
      lock.unlock();
      wait(until);
      lock.lock();
    } else {
      queue->wakeUp.wait_until(lock, until, [&] { return queue->woken; });
    }
    queue->waiting = false;
  }
}

bool WaitUntilIdle(const std::shared_ptr<ThreadQueue>& queue, Clock::time_point deadline) {
  std::unique_lock lock(Lock());
  return IdleChanged().wait_until(
      lock, deadline, [&] { return !queue->alive || (queue->waiting && !queue->woken); });
}

}  // namespace winsys
