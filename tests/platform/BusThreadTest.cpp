// A bus service's thread: the wishes left for it reach it, the newest last, a wish made while
// none runs waits for the next, and Stop ends it.
#include "platform/BusThread.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <vector>

#include "platform/Mutex.h"

namespace {

// Plays a service: sleeps on the wake-up descriptor and notes each wish it takes.
class Service {
 public:
  void Serve(BusThread<int>::Inbox& inbox) {
    for (;;) {
      pollfd wake{inbox.Wake(), POLLIN, 0};
      poll(&wake, 1, -1);
      const std::optional<int> wish = inbox.Take();
      MutexLock hold(lock_);
      if (!wish) {
        ended_ = true;
        return;
      }
      seen_.push_back(*wish);
      changed_.NotifyAll();
    }
  }

  // Waits, generously, for `wish` to be the newest one taken.
  bool Took(int wish) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MutexLock hold(lock_);
    while (seen_.empty() || seen_.back() != wish) {
      if (!changed_.WaitUntil(lock_, deadline)) {
        return false;
      }
    }
    return true;
  }

  bool Ran() {
    MutexLock hold(lock_);
    return ended_ || !seen_.empty();
  }
  bool Ended() {
    MutexLock hold(lock_);
    return ended_;
  }

 private:
  Mutex lock_;
  Condition changed_;
  std::vector<int> seen_ GUARDED_BY(lock_);
  bool ended_ GUARDED_BY(lock_) = false;
};

}  // namespace

TEST(BusThread, TakesTheWishFromBeforeItRanThenEachNewerOneAndEndsOnStop) {
  BusThread<int> thread;
  Service first;
  Service second;
  thread.Publish(1);
  thread.Start([&](BusThread<int>::Inbox& inbox) { first.Serve(inbox); });
  EXPECT_TRUE(first.Took(1));
  thread.Start([&](BusThread<int>::Inbox& inbox) { second.Serve(inbox); });  // one runs already
  thread.Publish(2);
  EXPECT_TRUE(first.Took(2));
  thread.Stop();
  EXPECT_TRUE(first.Ended());
  EXPECT_FALSE(second.Ran());

  thread.Publish(3);
  thread.Start([&](BusThread<int>::Inbox& inbox) { second.Serve(inbox); });
  EXPECT_TRUE(second.Took(3));
  thread.Stop();
  EXPECT_TRUE(second.Ended());
}
