// The program as a process of its own on the headless screen, for the single-instance test:
// e2e_instance_program <instance channel> <module path>. Exits with WinMain's result.
#include <cstdlib>
#include <string>

#include "app/MainWindow.h"
#include "platform/HeadlessScreen.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    return 2;
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  headless::SetInstanceChannel(argv[1]);
  const std::string path = argv[2];
  headless::SetModulePath(std::wstring(path.begin(), path.end()));
  return WinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW);
}
