// Work the window thread waits for runs on a thread of its own while the window keeps painting
// and its timers run; nothing else the queue holds runs inside the wait, and input is refused.
#include <atomic>
#include <chrono>

#include "platform/RunWhilePainting.h"
#include "tests/platform/WindowTestSupport.h"

namespace {

using namespace std::chrono_literals;

// Polls `condition` from the worker until it holds; false after a generous limit.
template <typename Ready>
bool Eventually(Ready condition) {
  const auto limit = std::chrono::steady_clock::now() + 20s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > limit) {
      return false;
    }
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

}  // namespace

TEST_F(WindowTest, AWaitKeepsPaintingAndTimersWhileOtherMessagesWaitAndInputIsRefused) {
  std::atomic<int> paints = 0;
  std::atomic<int> timers = 0;
  std::atomic<int> others = 0;  // posted messages and input
  handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_PAINT) {
      ++paints;
    } else if (message == WM_TIMER) {
      ++timers;
    } else if (message == WM_USER || message == WM_LBUTTONDOWN || message == WM_KEYDOWN) {
      ++others;
    } else if (message == WM_USER + 1) {
      return 42;
    }
    return std::nullopt;
  };
  SetTimer(main, 1, 10, nullptr);
  const int beeps = headless::BeepCount();
  bool painted = false;
  bool timed = false;
  LRESULT sent = 0;
  RunWhilePainting([&] {
    PostMessageW(main, WM_USER, 0, 0);
    headless::Tap(kWidth / 2, kHeight / 2);
    headless::PressKey(VK_RETURN);
    const int paintsBefore = paints;
    InvalidateRect(main, nullptr, FALSE);
    painted = Eventually([&] { return paints > paintsBefore; });
    timed = Eventually([&] { return timers >= 2; });
    sent = SendMessageW(main, WM_USER + 1, 0, 0);
    Eventually([&] { return headless::BeepCount() == beeps + 2; });
  });
  KillTimer(main, 1);
  EXPECT_TRUE(painted);
  EXPECT_TRUE(timed);
  EXPECT_EQ(sent, 42);
  EXPECT_EQ(headless::BeepCount(), beeps + 2);  // the tap and the key
  EXPECT_EQ(others, 0);
  headless::RunUntilIdle();
  EXPECT_EQ(others, 1);  // the posted message, after the wait; the input is gone
}
