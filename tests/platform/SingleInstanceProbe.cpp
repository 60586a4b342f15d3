// A second start of the program, reduced to its single-instance check: finds the window of the
// running instance on the channel given, and asks for it to be brought forward.
// Exit code: 0 brought forward, 1 not found, 2 found but not brought forward, 3 wrong use.
#include <cstdint>
#include <string>

#include "platform/HeadlessScreen.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    return 3;
  }
  headless::UseHeadlessScreen();
  headless::SetInstanceChannel(argv[1]);
  const std::wstring title = Utf8ToWide(argv[2]);
  HWND running = FindWindowW(L"ClassName", title.c_str());
  if (running == nullptr) {
    return 1;
  }
  auto withOwned = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(running) | 1);
  return SetForegroundWindow(withOwned) ? 0 : 2;
}
