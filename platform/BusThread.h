// The thread that owns one bus service's connection. The service's own code runs only there;
// the other threads leave it their newest wish under a lock and ring its wake-up descriptor,
// and Stop rings it too and waits for the thread to end. Not for code outside platform/.
#pragma once

#include <functional>
#include <optional>
#include <thread>
#include <utility>

#include "platform/Mutex.h"

namespace busthread {

// The wake-up descriptor (an eventfd), opened already rung so that the thread's first look
// finds the wish made before it ran. -1 when none can be had.
int OpenWake();
void Ring(int wake);
void Drain(int wake);
void CloseWake(int wake);

}  // namespace busthread

// At most one thread runs at a time; a wish made while none runs is kept for the next.
template <typename Wish>
class BusThread {
 public:
  // What the running thread sees of its owner.
  class Inbox {
   public:
    // Readable while a wish or a Stop waits; the thread's event loop watches it.
    int Wake() const { return wake_; }
    // Empties the wake-up descriptor; the newest wish, or nothing once Stop was asked (the
    // thread's loop then ends).
    std::optional<Wish> Take() {
      busthread::Drain(wake_);
      MutexLock hold(lock_);
      if (stopping_) {
        return std::nullopt;
      }
      return wish_;
    }

   private:
    friend class BusThread;
    Inbox(int wake, Wish wish) : wake_(wake), wish_(std::move(wish)) {}

    const int wake_;
    std::thread thread_;
    Mutex lock_;
    Wish wish_ GUARDED_BY(lock_);
    bool stopping_ GUARDED_BY(lock_) = false;
  };

  // Runs `serve` on a thread of its own, unless one runs already; `serve` returns once Take
  // gives nothing. Returns at once.
  void Start(std::function<void(Inbox&)> serve) {
    MutexLock hold(lock_);
    if (running_ != nullptr) {
      return;
    }
    const int wake = busthread::OpenWake();
    if (wake < 0) {
      return;
    }
    running_ = new Inbox(wake, last_);
    running_->thread_ = std::thread(std::move(serve), std::ref(*running_));
  }

  // Any thread; never waits for the bus.
  void Publish(Wish wish) {
    MutexLock hold(lock_);
    last_ = std::move(wish);
    if (running_ != nullptr) {
      {
        MutexLock wishHold(running_->lock_);
        running_->wish_ = last_;
      }
      busthread::Ring(running_->wake_);
    }
  }

  // Ends the thread and waits for it. Any thread but that one.
  void Stop() {
    Inbox* stopping = nullptr;
    {
      MutexLock hold(lock_);
      std::swap(stopping, running_);
    }
    if (stopping == nullptr) {
      return;
    }
    {
      MutexLock hold(stopping->lock_);
      stopping->stopping_ = true;
    }
    busthread::Ring(stopping->wake_);
    stopping->thread_.join();
    busthread::CloseWake(stopping->wake_);
    delete stopping;
  }

 private:
  Mutex lock_;
  Inbox* running_ GUARDED_BY(lock_) = nullptr;
  Wish last_ GUARDED_BY(lock_){};
};
