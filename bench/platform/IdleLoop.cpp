// The processor time the message loop uses over ten seconds with nothing happening, with the
// real screen when a display is there (run under xvfb-run) or else the headless one.
// Prints the user and system time used while the loop ran.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "platform/HeadlessScreen.h"
#include "platform/Win32.h"

namespace {

constexpr UINT kSeconds = 10;

LRESULT CALLBACK IdleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main() {
  const bool display = std::getenv("DISPLAY") != nullptr;
  if (!display) {
    headless::UseHeadlessScreen();
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = IdleProc;
  wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 0));
  wc.lpszClassName = L"Idle";
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, L"Idle", L"idle", WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
  // Settle the first paint, then measure the idle part only.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    DispatchMessageW(&msg);
  }
  SetTimer(main, 1, kSeconds * 1000, nullptr);
  const double before = CpuSeconds();
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    DispatchMessageW(&msg);
  }
  const double used = CpuSeconds() - before;
  std::printf("%s screen: %.3f s of processor time over %u s idle\n", display ? "real" : "headless",
              used, kSeconds);
  return 0;
}
