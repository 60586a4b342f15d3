// The executable's entry point: hands over to WinMain once there is a display to show it on.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/MainWindow.h"
#include "platform/DisplayCheck.h"

int main() {
  // One malloc arena for every thread: glibc gives each thread that allocates an arena of its
  // own, whose freed pages stay with it; the program's threads allocate little and seldom.
  mallopt(M_ARENA_MAX, 1);
  // Without a display nothing could be seen: one line says so, before any instance, sound or
  // network is set up (so a later start finds nothing left behind).
  const std::string why = winsys::OpenDisplayOrSayWhy();
  if (!why.empty()) {
    std::fprintf(stderr, "tunedeck: cannot open a display (%s)\n", why.c_str());
    return 1;
  }
  const int code = WinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW);
  // A cover lookup or a tune-in may still be running on its own thread, using the program's
  // globals; the process ends without destroying them under it. Nothing is left to save:
  // a favourite is written when it is added.
  std::fflush(nullptr);
  std::quick_exit(code);
}
