#include "app/MainWindow.h"
#include "audio/AudioLibrary.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
  if (!CreateMainWindow(instance, showCommand)) {
    return 0;
  }
  // Only the major and minor version must match; the window ends with the process.
  if (HIWORD(BASS_GetVersion()) != 0x0204) {
    MessageBoxW(nullptr, L"An incorrect version of BASS.DLL was loaded", nullptr, MB_ICONERROR);
    return 0;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
