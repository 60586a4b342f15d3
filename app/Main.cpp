// The executable's entry point: hands over to WinMain.
#include "app/MainWindow.h"

int main() {
  return WinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW);
}
