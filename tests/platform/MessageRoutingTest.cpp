// Messages reach the window's own thread: sent at once or carried from other threads in order,
// posted ones queued, and nothing waits for ever on a window that is going away.
#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/WindowTestSupport.h"

namespace {

constexpr UINT WM_TEST = WM_USER + 1;

}  // namespace

TEST_F(WindowTest, SendOnTheWindowsThreadRunsAtOnceAndReturnsTheResult) {
  handler = [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_TEST) {
      return static_cast<LRESULT>(wParam * 2);
    }
    return std::nullopt;
  };
  EXPECT_EQ(SendMessageW(main, WM_TEST, 21, 0), 42);
}

TEST_F(WindowTest, SendFromAnotherThreadRunsOnTheWindowsThreadInOrder) {
  handler = [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_TEST) {
      return static_cast<LRESULT>(wParam + 1000);
    }
    return std::nullopt;
  };
  std::atomic<bool> resultsRight{true};
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    for (WPARAM i = 0; i < 50; ++i) {
      if (SendMessageW(main, WM_TEST, i, 0) != static_cast<LRESULT>(i + 1000)) {
        resultsRight = false;
      }
    }
    finished = true;
  });
  EXPECT_TRUE(headless::RunUntil([&] { return finished.load(); }, std::chrono::seconds(10)));
  worker.join();
  EXPECT_TRUE(resultsRight);
  const auto got = Got(WM_TEST);
  ASSERT_EQ(got.size(), 50u);
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].wParam, i);
    EXPECT_EQ(got[i].thread, std::this_thread::get_id());
  }
}

TEST_F(WindowTest, PostedMessagesComeInOrderThroughTheLoop) {
  PostMessageW(main, WM_TEST, 1, 0);
  PostMessageW(main, WM_TEST, 2, 0);
  EXPECT_TRUE(Got(WM_TEST).empty());
  headless::RunUntilIdle();
  const auto got = Got(WM_TEST);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].wParam, 1u);
  EXPECT_EQ(got[1].wParam, 2u);
}

TEST_F(WindowTest, SendsFromWorkersReturnAtOnceWhileTheWindowIsBeingDestroyed) {
  HWND line = Child(1, RECT{0, 0, 100, 20}, RGB(1, 2, 3));
  std::atomic<bool> stop{false};
  std::atomic<int> sends{0};
  // A worker keeps sending to the child, as a stream callback updates the status line.
  std::thread worker([&] {
    while (!stop) {
      SendMessageW(line, WM_TEST, 0, 0);
      ++sends;
    }
  });
  ASSERT_TRUE(headless::RunUntil([&] { return sends > 3; }, std::chrono::seconds(10)));
  // The window's WM_DESTROY waits for the worker, as releasing the audio engine does.
  bool workerEnded = false;
  handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == main && message == WM_DESTROY) {
      stop = true;
      auto ended = std::async(std::launch::async, [&] { worker.join(); });
      workerEnded = ended.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
      return 0;
    }
    return std::nullopt;
  };
  DestroyWindow(main);
  EXPECT_TRUE(workerEnded);
  EXPECT_FALSE(IsWindow(line));
  EXPECT_EQ(SendMessageW(line, WM_TEST, 0, 0), 0);
}

TEST_F(WindowTest, CloseDestroysTheWindowAndItsChildren) {
  HWND child = Child(1, RECT{0, 0, 10, 10}, RGB(1, 1, 1));
  SendMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(Got(WM_DESTROY, main).size(), 1u);
  EXPECT_EQ(Got(WM_DESTROY, child).size(), 1u);
}

TEST_F(WindowTest, QuitEndsTheLoopWithItsCode) {
  PostMessageW(main, WM_TEST, 0, 0);
  PostQuitMessage(7);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_TEST);
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(WindowTest, CreationSendsCreateThenSizeWithTheWindowsSize) {
  Child(5, RECT{10, 20, 110, 70}, RGB(1, 1, 1));
  const auto create = Got(WM_CREATE);
  const auto size = Got(WM_SIZE);
  ASSERT_FALSE(create.empty());
  ASSERT_FALSE(size.empty());
  EXPECT_EQ(LOWORD(size.back().lParam), 100);
  EXPECT_EQ(HIWORD(size.back().lParam), 50);
  EXPECT_EQ(GetDlgCtrlID(size.back().hwnd), 5);
  EXPECT_EQ(GetDlgItem(main, 5), size.back().hwnd);
}

TEST_F(WindowTest, TextIsCutToTheCallersBuffer) {
  SetWindowTextW(main, L"tunedeck");
  WCHAR buffer[5];
  EXPECT_EQ(GetWindowTextW(main, buffer, 5), 4);
  EXPECT_STREQ(buffer, L"tune");
  EXPECT_EQ(GetWindowTextLengthW(main), 8);
}

TEST_F(WindowTest, CallsFromAWorkerOnTheWindowsRunOnTheWindowsThread) {
  HWND child = Child(1, RECT{0, 0, 50, 50}, RGB(200, 0, 0));
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    ShowWindow(child, SW_HIDE);
    MoveWindow(child, 10, 10, 30, 30, TRUE);
    SetWindowTextW(child, L"from a worker");
    finished = true;
  });
  EXPECT_TRUE(headless::RunUntil([&] { return finished.load(); }, std::chrono::seconds(10)));
  worker.join();
  EXPECT_FALSE(IsWindowVisible(child));
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.right, 40);
  for (const Received& got : received) {
    EXPECT_EQ(got.thread, std::this_thread::get_id());
  }
}

TEST_F(WindowTest, TextWatcherSeesEveryTextAWorkerSetsOnTheWindowsThread) {
  std::vector<std::wstring> seen;
  bool onWindowsThread = true;
  const std::thread::id windowsThread = std::this_thread::get_id();
  headless::WatchText(main, [&](const std::wstring& text) {
    seen.push_back(text);
    onWindowsThread &= std::this_thread::get_id() == windowsThread;
  });
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    for (const wchar_t* text : {L"connecting...", L"buffering 10%", L"Artist - Title", L"buuuu"}) {
      SetWindowTextW(main, text);
    }
    finished = true;
  });
  EXPECT_TRUE(headless::RunUntil([&] { return finished.load(); }, std::chrono::seconds(10)));
  worker.join();
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"connecting...", L"buffering 10%", L"Artist - Title",
                                             L"buuuu"}));
  EXPECT_TRUE(onWindowsThread);
}
