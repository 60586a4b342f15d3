#include "playback/WorkerStart.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::atomic<HANDLE> busy{nullptr};
std::atomic<int> runs{0};

// Clears its mark at once, as fast as a worker possibly can.
DWORD WINAPI ImmediateWorker(LPVOID) {
  ++runs;
  busy.store(nullptr);
  return 0;
}

std::atomic<bool> release{false};

DWORD WINAPI WaitingWorker(LPVOID) {
  while (!release.load()) {
    std::this_thread::sleep_for(1ms);
  }
  ++runs;
  busy.store(nullptr);
  return 0;
}

bool WaitUntilClear() {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (busy.load() != nullptr) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(WorkerStart, MarkIsNeverLeftSetByAWorkerThatEndsAtOnce) {
  runs = 0;
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(StartWorker(busy, ImmediateWorker, nullptr));
    ASSERT_TRUE(WaitUntilClear()) << "start " << i << " left the mark set";
  }
  EXPECT_EQ(runs.load(), 200);
}

TEST(WorkerStart, SecondStartIsRefusedWhileTheWorkerRuns) {
  runs = 0;
  release = false;
  ASSERT_TRUE(StartWorker(busy, WaitingWorker, nullptr));
  EXPECT_NE(busy.load(), nullptr);
  EXPECT_FALSE(StartWorker(busy, ImmediateWorker, nullptr));
  release = true;
  ASSERT_TRUE(WaitUntilClear());
  EXPECT_EQ(runs.load(), 1);
  // Once clear, a worker starts again.
  EXPECT_TRUE(StartWorker(busy, ImmediateWorker, nullptr));
  ASSERT_TRUE(WaitUntilClear());
  EXPECT_EQ(runs.load(), 2);
}

}  // namespace
