// Message boxes, beeps, built-in resources, the module path, the screen's metrics, threads and
// COM start-up.
#include <atomic>

#include "platform/HeadlessScreen.h"
#include "platform/Win32.h"
#include "tests/platform/WindowTestSupport.h"

TEST_F(WindowTest, MessageBoxesAreRecordedWithOwnerTextAndAnswered) {
  headless::ClearMessageBoxes();
  EXPECT_EQ(MessageBoxW(main, L"Can't initialize device", L"", MB_OK), IDOK);
  headless::AnswerMessageBoxes(IDCANCEL);
  EXPECT_EQ(MessageBoxW(nullptr, L"second", nullptr, MB_ICONERROR), IDCANCEL);
  headless::AnswerMessageBoxes(IDOK);
  const auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].owner, main);
  EXPECT_EQ(boxes[0].text, L"Can't initialize device");
  EXPECT_EQ(boxes[0].caption, L"");
  EXPECT_EQ(boxes[1].owner, nullptr);
  EXPECT_EQ(boxes[1].type, MB_ICONERROR);
}

TEST(SystemCalls, BeepsAreCounted) {
  const int before = headless::BeepCount();
  MessageBeep(0);
  MessageBeep(0);
  EXPECT_EQ(headless::BeepCount(), before + 2);
}

TEST(SystemCalls, BuiltInStringsAreCutToTheBuffer) {
  WCHAR text[100];
  EXPECT_EQ(LoadStringW(nullptr, 103, text, 100), 8);
  EXPECT_STREQ(text, L"tunedeck");
  EXPECT_EQ(LoadStringW(nullptr, 104, text, 100), 8);
  EXPECT_STREQ(text, L"tunedeck");
  EXPECT_EQ(LoadStringW(nullptr, 104, text, 5), 4);
  EXPECT_STREQ(text, L"tune");
  EXPECT_EQ(LoadStringW(nullptr, 999, text, 100), 0);
  EXPECT_NE(LoadIconW(nullptr, MAKEINTRESOURCEW(102)), nullptr);
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(101)), nullptr);
}

TEST(SystemCalls, TheModulePathIsTheExecutablesUnlessATestSetsIt) {
  WCHAR path[260];
  const DWORD length = GetModuleFileNameW(nullptr, path, 260);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(path[0], L'/');
  EXPECT_NE(std::wstring(path).find(L"platform_tests"), std::wstring::npos);
  headless::SetModulePath(L"/opt/tunedeck/tunedeck");
  EXPECT_EQ(GetModuleFileNameW(nullptr, path, 260), 22u);
  EXPECT_STREQ(path, L"/opt/tunedeck/tunedeck");
  EXPECT_EQ(GetModuleFileNameW(nullptr, path, 5), 4u);
  EXPECT_STREQ(path, L"/opt");
  headless::SetModulePath(L"");
}

TEST(SystemCalls, MetricsAndDensityFollowTheChosenScreen) {
  headless::UseHeadlessScreen(240, 320, 96);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
  const int narrowBar = GetSystemMetrics(SM_CXVSCROLL);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  ReleaseDC(nullptr, screen);
  headless::UseHeadlessScreen(480, 640, 192);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 480);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 2 * narrowBar);
  screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 192);
  ReleaseDC(nullptr, screen);
}

namespace {
DWORD WINAPI Worker(LPVOID argument) {
  static_cast<std::atomic<int>*>(argument)->store(1);
  return 17;
}
}  // namespace

TEST(SystemCalls, AThreadRunsWhileItsHandleIsClosedOrWaitedFor) {
  std::atomic<int> ran{0};
  HANDLE thread = CreateThread(nullptr, 0, Worker, &ran, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 17u);
  EXPECT_EQ(ran.load(), 1);
  EXPECT_TRUE(CloseHandle(thread));
  EXPECT_FALSE(CloseHandle(thread));

  ran = 0;
  HANDLE closedAtOnce = CreateThread(nullptr, 0, Worker, &ran, 0, nullptr);
  EXPECT_TRUE(CloseHandle(closedAtOnce));
  for (int i = 0; i < 1000 && ran == 0; ++i) {
    Sleep(5);
  }
  EXPECT_EQ(ran.load(), 1);
}

TEST(SystemCalls, ComStartsOncePerThreadAndCounts) {
  std::thread fresh([] {
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
  });
  fresh.join();
}
