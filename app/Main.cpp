// The executable's entry point: hands over to WinMain.
#include <cstdio>
#include <cstdlib>

#include "app/MainWindow.h"

int main() {
  const int code = WinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW);
  // A cover lookup or a tune-in may still be running on its own thread, using the program's
  // globals; the process ends without destroying them under it. Nothing is left to save:
  // a favourite is written when it is added.
  std::fflush(nullptr);
  std::quick_exit(code);
}
