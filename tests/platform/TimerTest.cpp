// Timers arrive as WM_TIMER on the window's thread, only when nothing else waits.
#include <atomic>

#include "tests/platform/WindowTestSupport.h"

TEST_F(WindowTest, ATimerTicksUntilKilled) {
  SetTimer(main, 1, 20, nullptr);
  ASSERT_TRUE(
      headless::RunUntil([&] { return Got(WM_TIMER).size() >= 3; }, std::chrono::seconds(10)));
  EXPECT_EQ(Got(WM_TIMER).front().wParam, 1u);
  KillTimer(main, 1);
  const std::size_t ticks = Got(WM_TIMER).size();
  headless::RunFor(std::chrono::milliseconds(100));
  EXPECT_EQ(Got(WM_TIMER).size(), ticks);
}

TEST_F(WindowTest, ATimerSetFromAWorkerTicksOnTheWindowsThread) {
  std::thread worker([&] { SetTimer(main, 1, 10, nullptr); });
  worker.join();
  ASSERT_TRUE(headless::RunUntil([&] { return !Got(WM_TIMER).empty(); }, std::chrono::seconds(10)));
  EXPECT_EQ(Got(WM_TIMER).front().thread, std::this_thread::get_id());
  KillTimer(main, 1);
}

TEST_F(WindowTest, ADueTimerWaitsForPostedMessagesAndPaint) {
  SetTimer(main, 1, 10, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  PostMessageW(main, WM_USER, 0, 0);
  InvalidateRect(main, nullptr, FALSE);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER);
  DispatchMessageW(&msg);
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_PAINT);
  DispatchMessageW(&msg);
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_TIMER);
  KillTimer(main, 1);
}

TEST_F(WindowTest, SettingATimerAgainRestartsItAndKeepsOneTimer) {
  SetTimer(main, 1, 10'000, nullptr);
  SetTimer(main, 1, 10, nullptr);
  ASSERT_TRUE(headless::RunUntil([&] { return !Got(WM_TIMER).empty(); }, std::chrono::seconds(5)));
  KillTimer(main, 1);
  EXPECT_FALSE(KillTimer(main, 1));
}

TEST_F(WindowTest, ADestroyedWindowsTimersStop) {
  HWND child = Child(1, RECT{0, 0, 10, 10}, RGB(1, 1, 1));
  SetTimer(child, 1, 10, nullptr);
  DestroyWindow(child);
  headless::RunFor(std::chrono::milliseconds(60));
  EXPECT_TRUE(Got(WM_TIMER).empty());
  EXPECT_FALSE(KillTimer(child, 1));
}

namespace {
std::atomic<int> procedureTicks{0};
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
  ++procedureTicks;
}
}  // namespace

TEST_F(WindowTest, ATimerWithAProcedureCallsIt) {
  const UINT_PTR id = SetTimer(nullptr, 0, 10, CountTick);
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(headless::RunUntil([] { return procedureTicks > 0; }, std::chrono::seconds(5)));
  KillTimer(nullptr, id);
}
