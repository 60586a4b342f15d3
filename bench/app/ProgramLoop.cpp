#include "bench/app/ProgramLoop.h"

#include <sys/resource.h>

#include "platform/Win32.h"
#include "tests/support/ChildProcess.h"

namespace bench {
namespace {

LRESULT CALLBACK LoopEnd(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    KillTimer(hwnd, 1);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RunProgramLoopFor(std::chrono::seconds time) {
  static HWND timerWindow = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LoopEnd;
    wc.lpszClassName = L"LoopEnd";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"LoopEnd", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  }();
  SetTimer(timerWindow, 1, static_cast<UINT>(time.count()) * 1000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return fixture::CpuSeconds(usage);
}

}  // namespace bench
